#include "run/record_files_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/handle_owners_win.h"
#include "platform/open_file_win.h"

namespace kelvaro {
namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Another instance holds the record for itself alone while it moves it aside, for a moment: the open is
// tried again for a while rather than losing the line.
HandleOwner OpenForAppending(const std::string& path) {
    constexpr int kRetries = 20;
    for (int retry = 0;; ++retry) {
        // Appending only: each write goes to the end of the file as it is then, after any other
        // instance's lines. No sharing of deletes: nobody moves the record aside while it is open here.
        // Reading too, as locking a part of the file asks.
        HandleOwner file(CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_SHARING_VIOLATION || retry == kRetries) return file;
        Sleep(5);
    }
}

// Renames the open file; false when it could not.
bool RenameOpen(HANDLE file, const std::string& to) {
    const std::wstring target = Widen(to);
    // The structure holds the first character and the terminating zero past the name's end.
    std::vector<std::uint64_t> buffer(
        (sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t)) / sizeof(std::uint64_t) + 1);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), info->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t))) != 0;
}

// Keeps the record open from one line to the next: opening and closing it for each file deleted costs as
// much as the delete itself under Wine. Each line is handed to the system at once all the same.
class Win32RecordFiles final : public RecordFiles {
public:
    std::uint64_t Size(const std::string& path) override {
        // The file held open is the record itself: nobody can move it aside meanwhile.
        LARGE_INTEGER size{};
        if (open_ && openPath_ == path && GetFileSizeEx(open_.Get(), &size))
            return static_cast<std::uint64_t>(size.QuadPart);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    std::string Read(const std::string& path) override {
        HandleOwner file(CreateFileA(path.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string text;
        if (!file) return text;
        char buffer[65536];
        DWORD read = 0;
        while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
            text.append(buffer, read);
        return text;
    }
    std::string WriterId() override { return std::to_string(GetCurrentProcessId()); }
    bool Append(const std::string& path, const std::string& text) override {
        if (!open_ || openPath_ != path) Open(path);
        if (!open_) return false;
        if (text.empty()) return true;
        // Under Wine an append finds the file's end and writes there in two steps, so two instances appending
        // at once can write over each other's line. A lock on one byte no record reaches is taken around
        // each line: the other instance's lines wait for it, never the other way round for long.
        OVERLAPPED appendLock{};
        appendLock.OffsetHigh = 0x7FFFFFFF;
        if (!LockFileEx(open_.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &appendLock)) return false;
        DWORD written = 0;
        const bool whole =
            WriteFile(open_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size();
        UnlockFileEx(open_.Get(), 0, 1, 0, &appendLock);
        return whole;
    }
    // Measured and moved through one open that shares nothing: it fails while another writer holds the
    // record, and no line can come in between.
    bool Replace(const std::string& from, const std::string& to, std::uint64_t largerThan) override {
        Close();
        HandleOwner record(CreateFileA(from.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        return record && GetFileSizeEx(record.Get(), &size) &&
               static_cast<std::uint64_t>(size.QuadPart) > largerThan && RenameOpen(record.Get(), to);
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
