#include "rules/rule_editor.h"

#include "base/ascii_case.h"
#include "base/errors.h"
#include "base/integer_text.h"
#include "platform/drive_part.h"

namespace kelvaro {

std::int32_t SpinFieldValue(const std::string& text) {
    try {
        return StrToInt(text);
    } catch (const EConvertError&) {
        return 0;
    }
}

std::string SpinFieldStep(const std::string& text, int steps) {
    // Unsigned arithmetic: the wrap at the range's ends is defined, and a wrapped negative is then
    // corrected to 0 by the change rule like any other negative.
    const auto value = static_cast<std::uint32_t>(SpinFieldValue(text)) + static_cast<std::uint32_t>(steps);
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string SpinFieldCorrection(const std::string& text) {
    return SpinFieldValue(text) < 0 ? "0" : "";
}

bool SpinFieldAcceptsKey(char key, char decimalSeparator) {
    const auto code = static_cast<unsigned char>(key);
    if (code < 32) return true;
    return (key >= '0' && key <= '9') || key == '+' || key == '-' || key == decimalSeparator;
}

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
