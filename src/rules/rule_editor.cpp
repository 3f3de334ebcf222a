#include "rules/rule_editor.h"

#include "base/ascii_case.h"
#include "platform/drive_part.h"

namespace kelvaro {

bool ShortcutBoxVisible(const std::string& fileSpecs) {
    return UpperAscii(fileSpecs) == "*.LNK";
}

namespace {

// "C:\", "\", and the share part of a network path ("\\server\share\") are roots.
bool IsRootFolder(const std::string& folder) {
    if (folder == "\\") return true;
    const std::string drive = DrivePart(folder);
    if (!drive.empty() && folder == drive + "\\") return true;
    // A network path short of its share's closing separator ("\\server\share", "\\server\") as well.
    return drive.size() > 2 && folder == drive;
}

}  // namespace

FolderAndName SplitChosenPath(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\:");
    if (cut == std::string::npos) return {"", path};
    FolderAndName parts{path.substr(0, cut + 1), path.substr(cut + 1)};
    if (parts.Folder.back() == '\\' && !IsRootFolder(parts.Folder)) parts.Folder.pop_back();
    return parts;
}

std::string LocationForSaving(const std::string& location) {
    return location.empty() ? "C:\\" : location;
}

}  // namespace kelvaro
