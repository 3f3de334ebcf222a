#pragma once
// The rule editor's decisions that do not need a window: when the shortcut check box shows, and how a
// chosen file becomes a location and a name.
#include <string>

namespace kelvaro {

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
