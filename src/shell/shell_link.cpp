#include "shell/shell_link.h"

#include <array>

#include "base/ascii_case.h"

namespace kelvaro {
namespace {

constexpr std::array<const char*, 11> kShellFolderValueNames = {
    "",       "Desktop", "Favorites",  "Fonts",   "Personal",  "Programs",
    "Recent", "SendTo",  "Start Menu", "Startup", "Templates",
};

std::size_t NameStart(const std::string& path) {
    std::size_t separator = path.find_last_of("\\:");
    return separator == std::string::npos ? 0 : separator + 1;
}

// From the last "." of the name part; empty when the name has none.
std::string Extension(const std::string& path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < NameStart(path)) return {};
    return path.substr(dot);
}

void Check(ShellLinkResult result) {
    switch (result) {
        case ShellLinkResult::Ok:
            return;
        case ShellLinkResult::CreateFailed:
            throw EQSShellLink(kLinkCreateFailed);
        case ShellLinkResult::NoPersistFile:
            throw EQSShellLink(kLinkNoPersistFile);
        case ShellLinkResult::WriteFailed:
            throw EQSShellLink(kLinkWriteFailed);
        case ShellLinkResult::ReadFailed:
            throw EQSShellLink(kLinkReadFailed);
    }
    throw EQSShellLink(kLinkReadFailed);
}

}  // namespace

std::string ShellFolderValueName(TShellFolder folder) {
    return folder < kShellFolderValueNames.size() ? kShellFolderValueNames[folder] : "";
}

std::int32_t ShowCmdFromWindowState(TWindowState state) {
    switch (state) {
        case wsMinimized:
            return kShowMinNoActive;
        case wsMaximized:
            return kShowMaximized;
        case wsNormal:
            break;
    }
    return kShowNormal;
}

TWindowState WindowStateFromShowCmd(std::int32_t showCmd) {
    switch (showCmd) {
        case 2:  // SW_SHOWMINIMIZED
        case 6:  // SW_MINIMIZE
        case kShowMinNoActive:
            return wsMinimized;
        case kShowMaximized:
            return wsMaximized;
        default:
            return wsNormal;
    }
}

std::uint16_t HotKeyWordFromShortCut(TShortCut shortCut) {
    unsigned flags = 0;
    if (shortCut & scShift) flags |= 1;
    if (shortCut & scCtrl) flags |= 2;
    if (shortCut & scAlt) flags |= 4;
    return static_cast<std::uint16_t>((flags << 8) | (shortCut & 0xFF));
}

TShortCut ShortCutFromHotKeyWord(std::uint16_t word) {
    unsigned flags = word >> 8;
    unsigned code = word & 0xFF;
    if (flags & 1) code |= scShift;
    if (flags & 2) code |= scCtrl;
    if (flags & 4) code |= scAlt;
    return static_cast<TShortCut>(code);
}

std::string LinkNamePart(const std::string& path) {
    return path.substr(NameStart(path));
}

std::string TQSShellLink::ShellFolderPath(TShellFolder folder) {
    std::string name = ShellFolderValueName(folder);
    if (name.empty()) return {};
    // The key is the shell's: it is only read here.
    std::unique_ptr<RegistryKey> key = registry_.OpenKeyForReading(kShellFoldersKey);
    if (!key) return {};
    RegistryValue value = key->ReadValue(name);
    // Expandable strings are taken as they stand: this key is meant to hold finished paths.
    if (value.type != RegistryValueType::String && value.type != RegistryValueType::ExpandString) return {};
    std::string path = value.data;
    std::size_t end = path.find('\0');
    if (end != std::string::npos) path.resize(end);
    return path;
}

void TQSShellLink::SetFileName(const std::string& value) {
    if (value == fileName_) return;
    std::string path = value;
    if (shellFolder_ != sfNone) path = ShellFolderPath(shellFolder_) + "\\" + LinkNamePart(path);
    if (UpperAscii(Extension(path)) != ".LNK") path += ".lnk";
    if (UpperAscii(LinkNamePart(path)) == ".LNK") path.clear();
    fileName_ = path;
}

void TQSShellLink::SetShellFolder(TShellFolder value) {
    if (value == shellFolder_) return;
    shellFolder_ = value;
    if (value != sfNone) fileName_ = ShellFolderPath(value) + "\\" + LinkNamePart(fileName_);
}

void TQSShellLink::ResetForWrite() {
    fields_ = ShellLinkFields{};
    fileIcon_ = TFileIcon{};
}

void TQSShellLink::SaveToFile(const std::string& path) {
    ShellLinkFields fields = fields_;
    fields.IconFile = fileIcon_.FileName;
    fields.IconIndex = fileIcon_.IconIndex;
    Check(links_.Save(path, fields));
}

void TQSShellLink::LoadFromFile(const std::string& path) {
    ShellLinkFields fields;
    Check(links_.Load(path, fields));
    fileIcon_.FileName = fields.IconFile;
    fileIcon_.IconIndex = fields.IconIndex;
    fields.IconFile.clear();
    fields.IconIndex = 0;
    fields_ = fields;
}

void TQSShellLink::ReadLink() {
    if (!links_.FileExists(fileName_)) throw EQSShellLink(kLinkNotFound);
    LoadFromFile(fileName_);
}

void TQSShellLink::WriteLink() {
    // Whether the file is there or not, writing it is the same operation.
    SaveToFile(fileName_);
}

}  // namespace kelvaro
