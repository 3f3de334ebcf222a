#include "ui/child_window_win.h"

namespace kelvaro {

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height, int id, HFONT font) {
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                 nullptr);
    if (child && font) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

}  // namespace kelvaro
