#include "widgets/clip_animation_win.h"

#include <commctrl.h>

#include "widgets/clip_shape.h"

namespace kelvaro {

bool OpenClip(HWND animation, int clipId, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    return animation && FindResourceA(module, MAKEINTRESOURCEA(clipId), "AVI") &&
           SendMessageA(animation, ACM_OPENA, reinterpret_cast<WPARAM>(module),
                        reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(clipId))) != 0;
}

bool ClipFitsBox(HMODULE module, int clipId, int boxWidth, int boxHeight) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(clipId), "AVI");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    const auto shape = ReadClipShape(
        {static_cast<const std::byte*>(bytes), static_cast<std::size_t>(SizeofResource(module, found))});
    return shape && ClipFitsBox(*shape, boxWidth, boxHeight);
}

}  // namespace kelvaro
