#include "run/broken_shortcut.h"

#include <optional>

#include "platform/drive_part.h"

namespace kelvaro {

namespace {

// The drive's name for the drive-type query, which takes the code page's text; nothing when the name
// holds anything beyond plain ASCII.
std::optional<std::string> AsciiText(const std::u16string& text) {
    std::string ascii;
    for (char16_t c : text) {
        if (c >= 0x80) return std::nullopt;
        ascii += static_cast<char>(c);
    }
    return ascii;
}

}  // namespace

std::string UnreadableShortcutMessage(const std::string& path, const std::string& linkMessage) {
    return "The shortcut \"" + path + "\" cannot be read: " + linkMessage;
}

bool ShortcutIsValid(const std::string& path, const std::string& rmvDrvCell, TQSShellLink& link,
                     TargetProbe& probe, DriveTypes& drives, ShortcutTestProgress& progress) {
    // The run names each rule's search in the status line, so this shows once per rule.
    if (progress.StatusLine() != kTestingShortcutsText) {
        progress.SetStatusLine(kTestingShortcutsText);
        progress.SetPathLabel(" ");
        progress.Repaint();
    }

    link.SetShellFolder(sfNone);
    link.SetFileName(path);
    try {
        link.ReadLink();
    } catch (const EQSShellLink& error) {
        // The link's own message does not say which file; a user must be able to find it and put it right.
        throw EQSShellLink(UnreadableShortcutMessage(path, error.Message()));
    }
    // The code-page Target may be "??\doc.txt" or "Omega" for a target that is there, so it decides
    // nothing. Without an exact name, or with wildcards in it that a directory search would expand, the
    // target cannot be looked up, and a working shortcut must never be taken for a broken one.
    const std::u16string& target = link.ExactTarget();
    if (target.empty() || target.find_first_of(u"*?") != std::u16string::npos) return true;
    if (probe.IsExistingDirectory(target) || probe.IsExistingFile(target)) return true;
    if (rmvDrvCell == "Yes") return false;
    const std::optional<std::string> drive = AsciiText(DrivePart(target));
    if (!drive) return true;
    switch (drives.QueryDriveType(*drive)) {
        // The target may be on a disk that is just not there now; that does not make it broken.
        case DriveRemovable:
        case DriveRemote:
        case DriveCdRom:
        case DriveRamDisk:
            return true;
        default:
            return false;
    }
}

}  // namespace kelvaro
