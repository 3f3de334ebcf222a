#pragma once
// How large a one-line label must be for its text: measured as a static control draws it, tabs
// expanded and, unless the control shows "&" as written (SS_NOPREFIX), "&x" taken as an underlined x.
#include <windows.h>

#include <string>

#include "ui/owners_win.h"

namespace kelvaro {

enum class Ampersands { Prefix, AsWritten };

inline SIZE LabelTextSize(HWND window, HFONT font, const std::string& text, Ampersands ampersands) {
    RECT extent{0, 0, 0, 0};
    if (WindowDc dc(window); dc) {
        Selection selection(dc.Get(), font);
        DrawTextA(dc.Get(), text.data(), static_cast<int>(text.size()), &extent,
                  DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE | DT_LEFT |
                      (ampersands == Ampersands::AsWritten ? DT_NOPREFIX : 0));
    }
    return SIZE{extent.right, extent.bottom};
}

}  // namespace kelvaro
