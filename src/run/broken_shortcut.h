#pragma once
// The broken-shortcut test: a shortcut file found by a run is listed only when its target is gone,
// and, for a target on a drive that may simply be absent, only when the rule asks for those too.
#include <memory>
#include <string>

#include "platform/drive_types.h"
#include "shell/shell_link.h"

namespace kelvaro {

// Asks about a shortcut's target by its exact UTF-16 name: the code-page form of a name the code page
// cannot hold reaches no file, or another one.
class TargetProbe {
public:
    virtual ~TargetProbe() = default;
    // The attribute query succeeds and reports the directory attribute.
    virtual bool IsExistingDirectory(const std::u16string& path) = 0;
    // A directory search for path finds an entry that is not a directory.
    virtual bool IsExistingFile(const std::u16string& path) = 0;
};

// Windows build only.
std::unique_ptr<TargetProbe> MakePlatformTargetProbe();

// What the test shows in the progress dialog.
class ShortcutTestProgress {
public:
    virtual ~ShortcutTestProgress() = default;
    virtual std::string StatusLine() = 0;
    virtual void SetStatusLine(const std::string& text) = 0;
    virtual void SetPathLabel(const std::string& text) = 0;
    // Draws the status line, the path label and the dialog now.
    virtual void Repaint() = 0;
};

inline constexpr const char* kTestingShortcutsText = "Testing Shortcuts...";

// The error of a shortcut file that cannot be read: its path, then the link's own message.
std::string UnreadableShortcutMessage(const std::string& path, const std::string& linkMessage);

// True: the shortcut at path is not broken and is not listed. rmvDrvCell is the current rule's
// "Rmv Drv" cell. Reading the shortcut goes through link, which keeps what it read; a file that is
// not a readable shortcut raises EQSShellLink with UnreadableShortcutMessage. The target is judged by its
// exact name; a shortcut whose target cannot be named exactly is never called broken.
bool ShortcutIsValid(const std::string& path, const std::string& rmvDrvCell, TQSShellLink& link,
                     TargetProbe& probe, DriveTypes& drives, ShortcutTestProgress& progress);

}  // namespace kelvaro
