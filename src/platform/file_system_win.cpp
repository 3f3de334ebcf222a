// The directory search reads wide names and keeps only those that the ANSI code page holds exactly:
// the "A" search would hand back "??.txt" for a name it cannot hold, or by best fit "O.txt" for
// "Ω.txt", which names a different file that a later open or delete would reach.
#include <windows.h>

#include "platform/file_system.h"
#include "search/date_time.h"

namespace kelvaro {
namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// False when the name has no exact form in the ANSI code page.
bool NarrowExactly(const wchar_t* name, std::string& narrow) {
    int wideLength = lstrlenW(name);
    if (wideLength == 0) return false;
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, wideLength, nullptr, 0, nullptr,
                                     &usedDefault);
    if (length <= 0 || usedDefault) return false;
    narrow.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, wideLength, narrow.data(), length, nullptr,
                        &usedDefault);
    return !usedDefault && Widen(narrow) == std::wstring(name, static_cast<std::size_t>(wideLength));
}

std::uint32_t LocalDosDateTime(const FILETIME& utc) {
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToDosDateTime(&local, &date, &time))
        return (static_cast<std::uint32_t>(date) << 16) | time;
    // Outside 1980-2107: clamp to the nearest time the MS-DOS form holds.
    SYSTEMTIME parts{};
    if (!FileTimeToSystemTime(&local, &parts)) return ClampedDosDateTime({1980, 1, 1, 0, 0, 0});
    return ClampedDosDateTime({parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute, parts.wSecond});
}

class Win32Listing : public DirectoryListing {
public:
    Win32Listing(HANDLE handle, const WIN32_FIND_DATAW& first, std::size_t folderLength)
        : handle_(handle), data_(first), folderLength_(folderLength) {}
    ~Win32Listing() override { FindClose(handle_); }

    bool Next(DirectoryEntry& entry) override {
        if (hasPending_) {
            hasPending_ = false;
            entry = std::move(pending_);
            return true;
        }
        return Advance(entry);
    }

    // Takes the first usable entry, so that a search without one can fail at its start.
    bool Prime() {
        hasPending_ = Describe(pending_) || Advance(pending_);
        return hasPending_;
    }

private:
    bool Advance(DirectoryEntry& entry) {
        while (FindNextFileW(handle_, &data_))
            if (Describe(entry)) return true;
        return false;
    }

    bool Describe(DirectoryEntry& entry) {
        if (!NarrowExactly(data_.cFileName, entry.name)) return false;
        // A full path at or beyond MAX_PATH cannot be opened or deleted through the "A" calls.
        if (folderLength_ + entry.name.size() >= MAX_PATH) return false;
        entry.size = (static_cast<std::uint64_t>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
        entry.attributes = data_.dwFileAttributes;
        entry.dosDateTime = LocalDosDateTime(data_.ftLastWriteTime);
        return true;
    }

    HANDLE handle_;
    WIN32_FIND_DATAW data_;
    std::size_t folderLength_;
    DirectoryEntry pending_;
    bool hasPending_ = false;
};

class Win32ReadOnlyFile : public ReadOnlyFile {
public:
    explicit Win32ReadOnlyFile(HFILE file) : file_(file) {}
    ~Win32ReadOnlyFile() override { _lclose(file_); }
    long Read(char* buffer, long count) override {
        UINT read = _lread(file_, buffer, static_cast<UINT>(count));
        return read == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(read);
    }

private:
    HFILE file_;
};

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<DirectoryListing> FindFirst(const std::string& pattern) override {
        if (pattern.size() >= MAX_PATH) return nullptr;
        std::size_t slash = pattern.find_last_of("\\/:");
        std::size_t folderLength = slash == std::string::npos ? 0 : slash + 1;
        WIN32_FIND_DATAW data;
        HANDLE handle = FindFirstFileW(Widen(pattern).c_str(), &data);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        auto listing = std::make_unique<Win32Listing>(handle, data, folderLength);
        if (!listing->Prime()) return nullptr;
        return listing;
    }

    std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override {
        // Backup semantics let CreateFile open a folder; no access is asked, only its identity.
        HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info;
        BOOL ok = GetFileInformationByHandle(handle, &info);
        CloseHandle(handle);
        if (!ok) return std::nullopt;
        return FolderIdentity{info.dwVolumeSerialNumber,
                              (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    }

    std::unique_ptr<ReadOnlyFile> OpenRead(const std::string& path) override {
        HFILE file = _lopen(path.c_str(), OF_READ);
        if (file == HFILE_ERROR) return nullptr;
        return std::make_unique<Win32ReadOnlyFile>(file);
    }
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace kelvaro
