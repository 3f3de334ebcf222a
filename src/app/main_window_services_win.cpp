#include <windows.h>
#include <shellapi.h>

#include "app/main_window_services.h"
#include "run/record_files_win.h"
#include "run/shell_delete_win.h"

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

}  // namespace kelvaro
