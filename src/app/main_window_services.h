#pragma once
// What the main window works through, built by the program's entry (or by a test, which may hand in
// its own settings registry or deleter) and owned by the window for as long as it lives.
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/drive_types.h"
#include "platform/file_state.h"
#include "platform/file_system.h"
#include "platform/full_path.h"
#include "platform/locale_formats.h"
#include "platform/message_pump.h"
#include "platform/registry.h"
#include "run/broken_shortcut.h"
#include "run/deletion.h"
#include "run/deletion_record.h"
#include "shell/run_at_startup.h"
#include "shell/shell_link.h"

namespace kelvaro {

struct MainWindowServices {
    std::unique_ptr<Registry> settings;  // where the settings live
    std::unique_ptr<FileSystem> files;
    std::unique_ptr<FullPaths> fullPaths;  // makes a rule's relative folder absolute for a run
    std::unique_ptr<Clock> clock;
    std::unique_ptr<MessagePump> pump;
    std::unique_ptr<DriveTypes> drives;
    std::unique_ptr<LocaleFormats> locale;
    std::unique_ptr<Registry> shellFolders;  // the user's own registry, for the shell's folder paths
    std::unique_ptr<Registry> classesRoot;   // the file types, for their icons
    std::unique_ptr<ShellLinkObject> shellLinkObject;
    std::unique_ptr<TargetProbe> targetProbe;
    std::unique_ptr<ShellDeleter> deleter;
    std::unique_ptr<FileStateProbe> fileStates;  // what a listed file is now, just before its delete
    std::unique_ptr<FileDeleter> fileDeleter;    // removes the start-up shortcut
    std::unique_ptr<RecordFiles> recordFiles;    // the deletion record's files
    std::string recordPath;                      // the deletion record; empty for none
    std::function<void(const std::string& path)> openTextViewer;  // shows a text file to the user
};

// Windows build only: the real platform, the user's own registry for the settings.
MainWindowServices MakePlatformMainWindowServices();

}  // namespace kelvaro
