#pragma once
// Opening a clip in an animation control, and telling whether a clip suits the control.
#include <windows.h>

#include "ui/resource_ids.h"

namespace kelvaro {

// Opens the AVI resource clipId of module (the program itself when nullptr) in animation. False, and
// the control left without a clip, when there is no control, the module holds no such clip or the
// control cannot read it: a box then simply shows no animation.
bool OpenClip(HWND animation, int clipId = IDA_SEARCH_CLIP, HMODULE module = nullptr);

// Whether the AVI resource clipId of module moves and fits a box of the given size whole; false when
// the module holds no such clip or it is no AVI clip.
bool ClipFitsBox(HMODULE module, int clipId, int boxWidth, int boxHeight);

}  // namespace kelvaro
