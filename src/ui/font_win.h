#pragma once
// Fonts the windows make for themselves; FontOwner deletes them.
#include <windows.h>

#include "ui/owners_win.h"

namespace kelvaro {

// A sans-serif face. height in pixels, negative for the character height (-11 is 8 point at 96 pixels per
// inch).
inline HFONT CreateUiFont(int height, const char* face, int weight = FW_NORMAL) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

// MS Sans Serif 8 point: the face of the dialogs and of the main window's lists.
inline HFONT CreateDialogFont(int weight = FW_NORMAL) {
    return CreateUiFont(-11, "MS Sans Serif", weight);
}

}  // namespace kelvaro
