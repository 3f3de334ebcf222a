#pragma once
// COM pieces the shell's link object needs: an owner for one interface pointer, and the apartment of
// the calling thread.
#include <objbase.h>
#include <windows.h>

namespace kelvaro {

// Owns one reference to a COM interface; released when the owner goes, also on an exception.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For the out parameter of CoCreateInstance and QueryInterface.
    void** Out() {
        Reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    void Reset() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
    }

private:
    Interface* pointer_ = nullptr;
};

// Joins the calling thread to a single-threaded apartment the first time it asks, and leaves it when
// the thread ends. Entering and leaving around every shortcut would unload and reload the shell's
// link class for each file of a run.
void EnsureComOnThisThread();

}  // namespace kelvaro
