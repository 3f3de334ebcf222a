#pragma once
// Where a window stands, as the Windows tests compare it; its text is read by WindowText.
#include <windows.h>

#include <string>

#include "ui/window_text_win.h"

namespace kelvaro::testing {

// "left,top widthxheight" in the parent's client area.
inline std::string BoundsText(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           "x" + std::to_string(r.bottom - r.top);
}

}  // namespace kelvaro::testing
