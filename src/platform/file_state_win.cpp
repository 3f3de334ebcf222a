#include <windows.h>

#include "platform/file_state.h"
#include "platform/handle_owners_win.h"
#include "platform/open_file_win.h"

namespace kelvaro {
namespace {

class Win32FileStateProbe : public FileStateProbe {
public:
    // One open, asked for what it is, which file it is, and the name the system gives it: under Wine a
    // Linux link to a file carries a plain file's attributes, size and time, and a path whose entry is
    // gone opens a twin whose name differs only in case. Only the name tells both apart.
    FileState Describe(const std::string& path) override {
        const std::wstring wide = Widen(path);
        HandleOwner handle(CreateFileW(
            wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!handle) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
            return {true, false};  // there, but nothing can be told of it: not to be deleted
        }
        FileState state;
        state.exists = true;
        const std::optional<std::wstring> final = FinalPathOf(handle.Get());
        const OpenedName opened =
            final ? CompareOpenedName(wide, *final, finalFolders_.Of(wide)) : OpenedName::Other;
        if (opened == OpenedName::OtherCase) return {};  // the exact entry is gone: only a twin answered
        FILE_BASIC_INFO basic{};
        FILE_STANDARD_INFO standard{};
        if (opened != OpenedName::Same ||
            !GetFileInformationByHandleEx(handle.Get(), FileBasicInfo, &basic, sizeof basic) ||
            !GetFileInformationByHandleEx(handle.Get(), FileStandardInfo, &standard, sizeof standard))
            return state;
        state.plainFile = !standard.Directory &&
                          !(basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        state.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
        state.lastWriteTime = static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart);
        std::uint64_t index = 0;
        const std::optional<std::uint32_t> volume = volumeSerials_.Of(path);
        if (volume && QueryFileIndex(handle.Get(), index) && index != 0)
            state.identity = FileIdentity{*volume, index};
        return state;
    }

    // A look-up of the path that finds nothing proves there is no entry of that name in any case, and
    // costs no trip to the Wine server. Only when it finds something is the folder read for the exact name.
    bool ExactEntryExists(const std::string& path) override {
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
        }
        const std::wstring wide = Widen(path);
        const std::wstring name = wide.substr(wide.find_last_of(L"\\/") + 1);
        WIN32_FIND_DATAW data;
        FindOwner search(
            FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
        if (!search) return GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND;
        do {
            if (name == data.cFileName) return true;
        } while (FindNextFileW(search.Get(), &data));
        return false;
    }

private:
    FinalFolderCache finalFolders_;
    VolumeSerialCache volumeSerials_;
};

}  // namespace

std::unique_ptr<FileStateProbe> MakePlatformFileStateProbe() {
    return std::make_unique<Win32FileStateProbe>();
}

}  // namespace kelvaro
