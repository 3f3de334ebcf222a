#pragma once
// The bounds a top-level window has when it is neither minimised nor maximised. A minimised or
// maximised window keeps them as its restored position: they are what the user set and what the
// settings store keeps, never the icon's or the whole screen's.
#include <windows.h>

#include "rules/settings_window.h"

namespace kelvaro {

// In screen coordinates.
WindowBounds NormalBounds(HWND window);
// Moves a restored window; a minimised or maximised one stays so and shows the bounds when restored.
void SetNormalBounds(HWND window, const WindowBounds& bounds);

}  // namespace kelvaro
