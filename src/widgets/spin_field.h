#pragma once
// How a number field with up/down arrows reads and filters what is typed, without a window.
#include <cstdint>
#include <string>

namespace kelvaro {

// A number field's value: its text as a whole number, or 0 when the text is not one ("", "-", "1.5").
std::int32_t SpinFieldValue(const std::string& text);
// The text an arrow or up/down key leaves in a number field: one step from the current value, wrapping
// at the ends of the 32-bit range as the field's own arithmetic does.
std::string SpinFieldStep(const std::string& text, int steps);
// A value below 0 is put back to 0: the new text, or "" when the text stands as it is.
std::string SpinFieldCorrection(const std::string& text);
// Typed characters a number field keeps: digits, "+", "-", the locale's decimal separator and control
// characters (backspace and the like). Other printable characters are refused with a beep.
bool SpinFieldAcceptsKey(char key, char decimalSeparator);

}  // namespace kelvaro
