#pragma once
// A number field: an edit control with up/down arrows inside its right edge. The arrows and the up and
// down keys step its value, and it refuses typed characters that cannot belong to a number.
#include <windows.h>

namespace kelvaro {

// A hidden child of parent holding "0", in the given font; nullptr when the system refuses it.
HWND CreateSpinField(HWND parent, int x, int y, int width, int height, int id, HFONT font);

// The parent calls it on the field's EN_CHANGE: a value below 0 is put back to 0.
void SpinFieldChanged(HWND field);

}  // namespace kelvaro
