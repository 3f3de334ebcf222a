#pragma once
// What the main window works with beyond the platform's services: the file scanner, the shortcut
// component, the icon cache and the deletion record. The program's entry (or a test) builds them on the
// services and hands them to the window, which owns them from then on.
#include <memory>
#include <string>

#include "app/main_window_services.h"
#include "run/deletion_record.h"
#include "search/file_scan.h"
#include "shell/icon_cache.h"
#include "shell/shell_link.h"

namespace kelvaro {

struct MainWindowParts {
    std::unique_ptr<TFileScan> fileScan;
    std::unique_ptr<TQSShellLink> shellLink;
    std::unique_ptr<IconCache> icons;
    std::unique_ptr<DeletionRecord> record;  // none when the services name no record
};

// Windows build only: the parts as the program uses them, on the services given (which must outlive them).
MainWindowParts MakeMainWindowParts(MainWindowServices& services);

// Index of the path's icon in the shell's system image lists (0 when the shell does not know it).
int ShellIconIndex(const std::string& path);

}  // namespace kelvaro
