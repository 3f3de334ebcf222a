#pragma once
// The rule editor's decisions that do not need a window: how its number fields read and filter what is
// typed, when the shortcut check box shows, and how a chosen file becomes a location and a name.
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

// The removable-drive box is offered only for a file pattern that is exactly "*.lnk" in any case.
bool ShortcutBoxVisible(const std::string& fileSpecs);

struct FolderAndName {
    std::string Folder;
    std::string Name;
};
// Splits a path from the file-open dialog at its last "\" (or the ":" of a drive). The folder loses its
// trailing backslash unless it is a root: "C:\TEMP\A.TMP" gives "C:\TEMP", "C:\A.TMP" gives "C:\",
// "\\server\share\a" gives "\\server\share\".
FolderAndName SplitChosenPath(const std::string& path);

// An empty location is written as the root of drive C.
std::string LocationForSaving(const std::string& location);

}  // namespace kelvaro
