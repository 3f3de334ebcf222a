#pragma once
// One owner for every kind of handle: the kind says how to close it and which values mean "none".
// Move-only, so exactly one owner closes each handle, also when an exception unwinds past it.
#include <utility>

namespace kelvaro {

// Kind provides: `using Handle = ...;`, `static Handle None();`, `static bool IsNone(Handle);` and
// `static void Close(Handle);`.
template <class Kind>
class Owner {
public:
    using Handle = typename Kind::Handle;

    Owner() = default;
    explicit Owner(Handle handle) : handle_(handle) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : handle_(other.Release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~Owner() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return !Kind::IsNone(handle_); }

    // Closes what is held and takes the new handle.
    void Reset(Handle handle = Kind::None()) {
        Handle old = std::exchange(handle_, handle);
        if (!Kind::IsNone(old)) Kind::Close(old);
    }
    // Gives the handle up without closing it.
    Handle Release() { return std::exchange(handle_, Kind::None()); }

private:
    Handle handle_ = Kind::None();
};

}  // namespace kelvaro
