#pragma once
// Controls placed on the program's own windows.
#include <windows.h>

namespace kelvaro {

// A child control with the given id, in the given font when there is one (otherwise the system's).
// WS_CHILD is added to style; visibility is the caller's choice.
HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height, int id, HFONT font);

}  // namespace kelvaro
