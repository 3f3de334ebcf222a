#pragma once
// Owners of the user interface's handles: GDI objects, device contexts, selections into them, windows
// and COM interfaces. Each is move-only and gives its handle back in its destructor, also when an
// exception passes, so no window writes an acquire/release pair by hand.
#include <windows.h>
#include <objbase.h>

#include <utility>

#include "base/owner.h"
#include "platform/handle_owners_win.h"

namespace kelvaro {

// Pens, brushes, bitmaps and fonts; never delete one while it is selected into a device context.
template <class Object>
struct GdiObjectKind {
    using Handle = Object;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle object) { return !object; }
    static void Close(Handle object) { DeleteObject(object); }
};
template <class Object>
using GdiOwner = Owner<GdiObjectKind<Object>>;
using FontOwner = GdiOwner<HFONT>;
using PenOwner = GdiOwner<HPEN>;
using BrushOwner = GdiOwner<HBRUSH>;
using BitmapOwner = GdiOwner<HBITMAP>;

// A device context of one's own, from CreateCompatibleDC.
struct MemoryDcKind {
    using Handle = HDC;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle dc) { return !dc; }
    static void Close(Handle dc) { DeleteDC(dc); }
};
using MemoryDcOwner = Owner<MemoryDcKind>;

// A window nothing else destroys: a child is destroyed with its parent, but a popup owned by another
// top-level window (a tooltip) outlives the object that made it.
struct WindowKind {
    using Handle = HWND;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle window) { return !window; }
    static void Close(Handle window) { DestroyWindow(window); }
};
using WindowOwner = Owner<WindowKind>;

// The device context of a window's client area (or of the screen, for no window), borrowed from the
// system with GetDC and handed back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the one it replaced back at the end, so the
// object can be deleted and the context released in the state it was lent in.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    Selection(Selection&& other) noexcept : dc_(other.dc_), old_(std::exchange(other.old_, nullptr)) {}
    Selection& operator=(Selection&&) = delete;
    ~Selection() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// One reference to a COM interface.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { Reset(); }

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

}  // namespace kelvaro
