#pragma once
// The "Run At Win95 Boot" option: a shortcut in the user's Startup folder that starts the program
// minimised in automatic mode.
#include <memory>
#include <string>

#include "shell/shell_link.h"

namespace kelvaro {

inline constexpr const char* kStartupLinkName = "Kelvaro.lnk";
// The name the component is given before it is moved into the Startup folder; only its name part counts.
inline constexpr const char* kStartupLinkDesignPath =
    "C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Kelvaro.lnk";
inline constexpr const char* kStartupLinkArguments = "-a";
inline constexpr const char* kStartupLinkDescription = "Kelvaro";
// What switching it on means, told when it is switched on.
inline constexpr const char* kRunAtStartupNotice =
    "From now on, each time you log on Kelvaro runs every rule and deletes everything it finds, with "
    "nobody watching. It asks first when Confirm Delete is on, and always when a run finds far more than "
    "the runs before it.\n\nTo stop it, switch Options > Run At Win95 Boot off again.";
// Without a Startup folder the shortcut would land in the root of the current drive, where it never runs.
inline constexpr const char* kNoStartupFolder =
    "Kelvaro cannot run at start-up: the registry names no Startup folder";

// The start-up option cannot be switched on here.
class EStartupFolderMissing : public Exception {
public:
    using Exception::Exception;
};

// Deleting one file by path.
class FileDeleter {
public:
    virtual ~FileDeleter() = default;
    // False when the file is not there or could not be deleted.
    virtual bool RemoveFile(const std::string& path) = 0;
};

// Windows build only.
std::unique_ptr<FileDeleter> MakePlatformFileDeleter();

// Where the start-up shortcut lives: the Startup folder as the registry names it now, "\", the link name.
// Empty when the registry names no Startup folder (no value, an empty one, or one that is not text).
std::string StartupLinkPath(TQSShellLink& link);

// The menu item's click. Ticked: deletes the start-up shortcut, whatever became of it, and gives false;
// with no Startup folder there is no such shortcut and nothing is deleted. Not ticked: fills link and
// writes the shortcut, then gives true; a failed write raises EQSShellLink, a missing Startup folder
// raises EStartupFolderMissing before anything changes, and the caller's tick stays off either way.
// programPath is the program's own full file path.
bool ToggleRunAtStartup(bool ticked, TQSShellLink& link, FileDeleter& files, const std::string& programPath);

}  // namespace kelvaro
