#pragma once
// TQSShellLink holds the properties of one shell shortcut (".lnk" file) and reads or writes such a file
// through the shell's link object. A file name can be tied to one of the user's special folders, whose
// path is looked up in the registry at every use.
#include <cstdint>
#include <memory>
#include <string>

#include "base/errors.h"
#include "platform/registry.h"

namespace kelvaro {

class EQSShellLink : public Exception {
public:
    using Exception::Exception;
};

// The component's messages, Windows-1252 bytes ("\xE9" is e acute).
inline constexpr const char* kLinkCreateFailed =
    "\"CoCreateInstance\" a \xE9"
    "chou\xE9.";
inline constexpr const char* kLinkNoPersistFile =
    "\"PersistFile QueryInterface\" a \xE9"
    "chou\xE9.";
inline constexpr const char* kLinkWriteFailed =
    "Erreur en \xE9"
    "criture.";
inline constexpr const char* kLinkReadFailed = "Erreur en lecture.";
inline constexpr const char* kLinkNotFound = "Lien non trouv\xE9.";

enum TShellFolder : std::uint8_t {
    sfNone,
    sfDesktop,
    sfFavorites,
    sfFonts,
    sfPersonal,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates,
};

// Relative to HKEY_CURRENT_USER; string values holding full folder paths.
inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The value that names the folder's path; empty for sfNone and for anything outside the enumeration.
std::string ShellFolderValueName(TShellFolder folder);

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Show-window codes the component writes for each window state.
inline constexpr std::int32_t kShowNormal = 1;
inline constexpr std::int32_t kShowMaximized = 3;
inline constexpr std::int32_t kShowMinNoActive = 7;  // minimised without taking the focus
std::int32_t ShowCmdFromWindowState(TWindowState state);
// Shortcuts written elsewhere may hold any show code: the other minimising codes (2, 6) read as
// minimised, everything that is neither minimised nor maximised as normal.
TWindowState WindowStateFromShowCmd(std::int32_t showCmd);

// Key code with modifier bits, as menus and hot-key controls of the framework know it.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
// The shell's hot-key word: virtual key in the low byte, modifier flags (1 Shift, 2 Ctrl, 4 Alt) above.
std::uint16_t HotKeyWordFromShortCut(TShortCut shortCut);
TShortCut ShortCutFromHotKeyWord(std::uint16_t word);

// Names a shortcut's icon: the file that holds it and its index there.
class TFileIcon {
public:
    std::string FileName;
    std::int32_t IconIndex = 0;
    void Assign(const TFileIcon& source) {
        FileName = source.FileName;
        IconIndex = source.IconIndex;
    }
};

// What a shortcut file holds, as the shell's link object reads and writes it.
struct ShellLinkFields {
    std::string Description;
    std::string Target;
    std::string WorkingDir;
    std::string Arguments;
    std::int32_t ShowCmd = 0;
    std::uint16_t HotKey = 0;
    std::string IconFile;
    std::int32_t IconIndex = 0;
    // The target in UTF-16 exactly as the shortcut names it, read beside Target, which the code page may
    // hold only approximately ("??" or a look-alike letter); never written. Empty when the link object
    // could not give it.
    std::u16string ExactTarget;
};

enum class ShellLinkResult { Ok, CreateFailed, NoPersistFile, WriteFailed, ReadFailed };

// The shell's link object and the file test the component needs. Every call is complete in itself:
// no link object survives from one call to the next.
class ShellLinkObject {
public:
    virtual ~ShellLinkObject() = default;
    // An existing entry at path that is not a folder.
    virtual bool FileExists(const std::string& path) = 0;
    virtual ShellLinkResult Save(const std::string& path, const ShellLinkFields& fields) = 0;
    // fields is written only when the result is Ok.
    virtual ShellLinkResult Load(const std::string& path, ShellLinkFields& fields) = 0;
};

// Windows build only: the shell's own link object over COM.
std::unique_ptr<ShellLinkObject> MakePlatformShellLinkObject();

class TQSShellLink {
public:
    // Both are borrowed and must outlive the component.
    TQSShellLink(ShellLinkObject& links, Registry& registry) : links_(links), registry_(registry) {}
    TQSShellLink(const TQSShellLink&) = delete;
    TQSShellLink& operator=(const TQSShellLink&) = delete;

    const std::string& Arguments() const { return fields_.Arguments; }
    void SetArguments(const std::string& value) { fields_.Arguments = value; }
    const std::string& Description() const { return fields_.Description; }
    void SetDescription(const std::string& value) { fields_.Description = value; }
    const TFileIcon& FileIcon() const { return fileIcon_; }
    TFileIcon& FileIcon() { return fileIcon_; }
    void SetFileIcon(const TFileIcon& value) { fileIcon_.Assign(value); }
    TShortCut HotKey() const { return ShortCutFromHotKeyWord(fields_.HotKey); }
    void SetHotKey(TShortCut value) { fields_.HotKey = HotKeyWordFromShortCut(value); }
    std::uint16_t HotKeyWord() const { return fields_.HotKey; }
    const std::string& FileName() const { return fileName_; }
    // Applies the path rules: moves the name into ShellFolder's folder and gives it the ".lnk" extension.
    void SetFileName(const std::string& value);
    const std::string& Target() const { return fields_.Target; }
    void SetTarget(const std::string& value) {
        fields_.Target = value;
        fields_.ExactTarget.clear();
    }
    // As read by the last successful load; empty after SetTarget.
    const std::u16string& ExactTarget() const { return fields_.ExactTarget; }
    TWindowState WindowState() const { return WindowStateFromShowCmd(fields_.ShowCmd); }
    void SetWindowState(TWindowState value) { fields_.ShowCmd = ShowCmdFromWindowState(value); }
    std::int32_t ShowCmd() const { return fields_.ShowCmd; }
    const std::string& WorkingDir() const { return fields_.WorkingDir; }
    void SetWorkingDir(const std::string& value) { fields_.WorkingDir = value; }
    TShellFolder ShellFolder() const { return shellFolder_; }
    // Moves the current FileName's name into the folder, without the path rules of SetFileName.
    void SetShellFolder(TShellFolder value);

    // The component is shared: one that has just read some other shortcut must not pass on its working
    // folder, hot key, icon or anything else to a shortcut it is about to write. Clears every shortcut
    // property as in a new component; FileName and ShellFolder stay.
    void ResetForWrite();

    void SaveToFile(const std::string& path);
    // Fills the shortcut properties, never FileName or ShellFolder; a failed read changes nothing.
    void LoadFromFile(const std::string& path);
    void ReadLink();
    void WriteLink();

    // The folder's path as the registry holds it now; empty when the key or value is missing.
    std::string ShellFolderPath(TShellFolder folder);

private:
    ShellLinkObject& links_;
    Registry& registry_;
    ShellLinkFields fields_;
    TFileIcon fileIcon_;
    std::string fileName_;
    TShellFolder shellFolder_ = sfNone;
};

// The text after the last "\" or ":".
std::string LinkNamePart(const std::string& path);

}  // namespace kelvaro
