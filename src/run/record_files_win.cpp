#include "run/record_files_win.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/handle_owners_win.h"

namespace kelvaro {
namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

HandleOwner OpenForAppending(const std::string& path) {
    return HandleOwner(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Keeps the record open from one line to the next: opening and closing it for each file deleted costs as
// much as the delete itself under Wine. Each line is handed to the system at once all the same.
class Win32RecordFiles final : public RecordFiles {
public:
    std::uint64_t Size(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    bool Append(const std::string& path, const std::string& text) override {
        if (!open_ || openPath_ != path) Open(path);
        if (!open_) return false;
        DWORD written = 0;
        return WriteFile(open_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
               written == text.size();
    }
    bool Replace(const std::string& from, const std::string& to) override {
        Close();
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    void Close() override { open_.Reset(); }

private:
    void Open(const std::string& path) {
        open_ = OpenForAppending(path);
        // The first line of all makes the record's folder.
        if (!open_ && GetLastError() == ERROR_PATH_NOT_FOUND &&
            CreateDirectoryA(FolderOf(path).c_str(), nullptr))
            open_ = OpenForAppending(path);
        openPath_ = path;
    }

    HandleOwner open_;
    std::string openPath_;
};

}  // namespace

std::unique_ptr<RecordFiles> MakePlatformRecordFiles() {
    return std::make_unique<Win32RecordFiles>();
}

std::string DeletionRecordPath() {
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE) || !folder[0]) return {};
    return std::string(folder) + "\\Kelvaro\\Kelvaro.log";
}

LocalTime LocalTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace kelvaro
