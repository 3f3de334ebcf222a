#pragma once
// What a window shows, as the Windows tests compare it.
#include <windows.h>

#include <string>

namespace kelvaro::testing {

inline std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// "left,top widthxheight" in the parent's client area.
inline std::string BoundsText(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

}  // namespace kelvaro::testing
