#pragma once
// Opening a clip in an animation control.
#include <windows.h>

#include "ui/resource_ids.h"

namespace kelvaro {

// Opens the AVI resource clipId of module (the program itself when nullptr) in animation. False, and
// the control left without a clip, when there is no control, the module holds no such clip or the
// control cannot read it: a box then simply shows no animation.
bool OpenClip(HWND animation, int clipId = IDA_SEARCH_CLIP, HMODULE module = nullptr);

}  // namespace kelvaro
