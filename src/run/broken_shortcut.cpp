#include "run/broken_shortcut.h"

namespace kelvaro {

std::string DrivePart(const std::string& target) {
    if (target.size() >= 2 && target[1] == ':') return target.substr(0, 2);
    if (target.size() >= 2 && target[0] == '\\' && target[1] == '\\') {
        std::size_t share = target.find('\\', 2);
        if (share == std::string::npos) return target;
        std::size_t end = target.find('\\', share + 1);
        return end == std::string::npos ? target : target.substr(0, end);
    }
    return {};
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
    link.ReadLink();
    const std::string target = link.Target();

    if (target.empty() || probe.IsExistingDirectory(target) || probe.IsExistingFile(target)) return true;
    if (rmvDrvCell == "Yes") return false;
    switch (drives.QueryDriveType(DrivePart(target))) {
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
