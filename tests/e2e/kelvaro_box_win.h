#pragma once
// The message box Kelvaro shows under its own caption, as the end-to-end helpers wait for it.
#include <windows.h>

namespace kelvaro::e2e {

inline BOOL CALLBACK FindKelvaroBox(HWND window, LPARAM found) {
    char caption[64] = {}, kind[16] = {};
    GetWindowTextA(window, caption, sizeof caption);
    GetClassNameA(window, kind, sizeof kind);
    if (IsWindowVisible(window) && lstrcmpA(caption, "Kelvaro") == 0 && lstrcmpA(kind, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The first such box to show within milliseconds, or null.
inline HWND WaitForKelvaroBox(DWORD milliseconds) {
    HWND box = nullptr;
    for (DWORD start = GetTickCount(); !box && GetTickCount() - start < milliseconds; Sleep(20))
        EnumWindows(FindKelvaroBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

}  // namespace kelvaro::e2e
