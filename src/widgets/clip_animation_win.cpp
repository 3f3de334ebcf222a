#include "widgets/clip_animation_win.h"

#include <commctrl.h>

namespace kelvaro {

bool OpenClip(HWND animation, int clipId, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    return animation && FindResourceA(module, MAKEINTRESOURCEA(clipId), "AVI") &&
           SendMessageA(animation, ACM_OPENA, reinterpret_cast<WPARAM>(module),
                        reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(clipId))) != 0;
}

}  // namespace kelvaro
