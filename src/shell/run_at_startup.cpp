#include "shell/run_at_startup.h"

namespace kelvaro {

std::string StartupLinkPath(TQSShellLink& link) {
    std::string folder = link.ShellFolderPath(sfStartup);
    if (folder.empty()) return {};
    return folder + "\\" + kStartupLinkName;
}

bool ToggleRunAtStartup(bool ticked, TQSShellLink& link, FileDeleter& files, const std::string& programPath) {
    if (ticked) {
        // The path is built anew rather than taken from the component: a run that tested shortcuts
        // leaves the name of some other shortcut there, and that one must never be deleted.
        if (std::string path = StartupLinkPath(link); !path.empty()) files.RemoveFile(path);
        return false;
    }
    if (StartupLinkPath(link).empty()) throw EStartupFolderMissing(kNoStartupFolder);
    // The component also serves the broken-shortcut test; the last shortcut it read must not lend its
    // working folder, hot key or icon index to this one.
    link.ResetForWrite();
    link.SetArguments(kStartupLinkArguments);
    link.SetDescription(kStartupLinkDescription);
    // Name first, then folder: whichever folder the component was tied to, the two steps together end
    // with the name in the Startup folder.
    link.SetFileName(kStartupLinkDesignPath);
    link.SetShellFolder(sfStartup);
    link.SetWindowState(wsMinimized);
    link.FileIcon().FileName = programPath;
    link.SetTarget(programPath);
    link.WriteLink();
    return true;
}

}  // namespace kelvaro
