#include <windows.h>
#include <shellapi.h>

#include "app/main_window_parts.h"
#include "app/main_window_services.h"
#include "run/record_files_win.h"
#include "run/shell_delete_win.h"
#include "search/platform_scan.h"

namespace kelvaro {

MainWindowServices MakePlatformMainWindowServices() {
    MainWindowServices services;
    services.settings = MakePlatformRegistry();
    services.files = MakePlatformFileSystem();
    services.fullPaths = MakePlatformFullPaths();
    services.clock = MakePlatformClock();
    services.pump = MakePlatformMessagePump();
    services.drives = MakePlatformDriveTypes();
    services.locale = MakePlatformLocaleFormats();
    services.shellFolders = MakePlatformRegistry();
    services.classesRoot = MakePlatformClassesRoot();
    services.shellLinkObject = MakePlatformShellLinkObject();
    services.targetProbe = MakePlatformTargetProbe();
    services.deleter = std::make_unique<Win32ShellDeleter>();
    services.fileStates = MakePlatformFileStateProbe();
    services.fileDeleter = MakePlatformFileDeleter();
    services.recordFiles = MakePlatformRecordFiles();
    services.recordPath = DeletionRecordPath();
    services.openTextViewer = [](const std::string& path) {
        ShellExecuteA(nullptr, "open", "notepad.exe", ("\"" + path + "\"").c_str(), nullptr, SW_SHOWNORMAL);
    };
    return services;
}

MainWindowParts MakeMainWindowParts(MainWindowServices& services) {
    MainWindowParts parts;
    parts.fileScan = MakeDesignScan(
        ScanPlatform{*services.files, *services.clock, *services.pump, *services.drives, *services.locale});
    parts.shellLink = std::make_unique<TQSShellLink>(*services.shellLinkObject, *services.shellFolders);
    parts.icons = std::make_unique<IconCache>(*services.classesRoot, ShellIconIndex);
    if (services.recordFiles && !services.recordPath.empty())
        parts.record = std::make_unique<DeletionRecord>(*services.recordFiles, services.recordPath);
    // A rule over the application-data folder must not offer the record itself for deletion.
    if (!services.recordPath.empty())
        parts.fileScan->SetUnlistedFiles(
            {services.recordPath, DeletionRecord::OlderPath(services.recordPath)});
    return parts;
}

int ShellIconIndex(const std::string& path) {
    SHFILEINFOA info{};
    // Only the index is used: no icon handle is asked for, so none has to be released.
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
    return info.iIcon;
}

}  // namespace kelvaro
