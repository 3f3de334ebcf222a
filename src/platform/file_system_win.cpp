// The directory search reads wide names and keeps only those that the ANSI code page holds exactly:
// the "A" search would hand back "??.txt" for a name it cannot hold, or by best fit "O.txt" for
// "Ω.txt", which names a different file that a later open or delete would reach.
#include <windows.h>

#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/date_time.h"
#include "base/work_pool.h"
#include "platform/exact_win32_name.h"
#include "platform/file_system.h"
#include "platform/handle_owners_win.h"
#include "platform/name_case.h"
#include "platform/open_file_win.h"
#include "platform/pooled_examination.h"

namespace kelvaro {
namespace {

std::uint32_t LocalDosDateTime(const FILETIME& utc) {
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToDosDateTime(&local, &date, &time))
        return (static_cast<std::uint32_t>(date) << 16) | time;
    // Outside 1980-2107: clamp to the nearest time the MS-DOS form holds.
    SYSTEMTIME parts{};
    if (!FileTimeToSystemTime(&local, &parts)) return ClampedDosDateTime({1980, 1, 1, 0, 0, 0});
    return ClampedDosDateTime(
        {parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute, parts.wSecond});
}

// What both kinds of listing make of an entry. False for entries that are to be left out.
bool DescribeEntry(const wchar_t* name, int nameLength, std::uint32_t attributes, std::uint64_t size,
                   const FILETIME& lastWrite, std::size_t folderLength, bool directoriesOnly,
                   DirectoryEntry& entry) {
    if (directoriesOnly && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (!IsExactWin32Name(std::wstring_view(name, static_cast<std::size_t>(nameLength < 0 ? 0 : nameLength))))
        return false;
    if (!NarrowExactly(name, nameLength, entry.name)) return false;
    // A full path at or beyond MAX_PATH cannot be opened or deleted through the "A" calls.
    if (folderLength + entry.name.size() >= MAX_PATH) return false;
    entry.size = size;
    entry.attributes = attributes;
    entry.dosDateTime = LocalDosDateTime(lastWrite);
    entry.lastWriteTime =
        (static_cast<std::uint64_t>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
    entry.identity.reset();
    return true;
}

// An entry as a listing read it, before it is described.
struct ListedName {
    std::wstring name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    FILETIME lastWrite{};
    std::uint64_t fileId = 0;
};

// The entries of one search, read whole before any is handed out: a name that another entry of the
// folder matches when letter case is ignored is left out with that twin, and only the whole listing
// tells. Twins are found before anything else is left out: one the code page cannot hold still takes
// the other with it.
class Win32Listing : public ReadAheadListing {
public:
    // volume: when given, each folder's identity is that volume and its file id.
    Win32Listing(std::vector<ListedName> names, std::size_t folderLength, bool directoriesOnly,
                 std::optional<std::uint64_t> volume = std::nullopt)
        : names_(std::move(names)),
          twins_(
              FindCaseTwins(names_.size(), [this](std::size_t i) { return UpperCaseName(names_[i].name); })),
          folderLength_(folderLength),
          directoriesOnly_(directoriesOnly),
          volume_(volume) {}

    // The whole folder as the same read gave it, for TakeFolderListing.
    void KeepFolderRead(std::vector<ListedName> whole) { whole_ = std::move(whole); }

    std::unique_ptr<DirectoryListing> TakeFolderListing() override {
        if (!whole_ || !volume_) return nullptr;
        auto folders = std::make_unique<Win32Listing>(std::move(*whole_), folderLength_, true, volume_);
        whole_.reset();
        folders->Prime();  // an empty listing still answers: the folder holds no subfolder
        return folders;
    }

private:
    bool Advance(DirectoryEntry& entry) override {
        while (next_ < names_.size()) {
            const std::size_t i = next_++;
            const ListedName& found = names_[i];
            if (twins_[i] ||
                !DescribeEntry(found.name.data(), static_cast<int>(found.name.size()), found.attributes,
                               found.size, found.lastWrite, folderLength_, directoriesOnly_, entry))
                continue;
            if (volume_ && found.fileId != 0) entry.identity = FileIdentity{*volume_, found.fileId};
            return true;
        }
        return false;
    }

    std::vector<ListedName> names_;
    std::vector<bool> twins_;
    std::size_t folderLength_;
    bool directoriesOnly_;
    std::optional<std::uint64_t> volume_;
    std::size_t next_ = 0;
    std::optional<std::vector<ListedName>> whole_;
};

// Every entry the platform's directory search matches, from its first. keep: which of them the
// caller asked for.
template <typename Keep>
std::vector<ListedName> ReadSearch(HANDLE search, WIN32_FIND_DATAW data, Keep keep) {
    std::vector<ListedName> names;
    do {
        if (!keep(data)) continue;
        names.push_back({data.cFileName, data.dwFileAttributes,
                         (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                         data.ftLastWriteTime});
    } while (FindNextFileW(search, &data));
    return names;
}

// Every entry of a folder, read through a handle to the folder: gives each subfolder's file index
// with the listing, where the walk would otherwise open every subfolder to learn it.
std::vector<ListedName> ReadFolder(HANDLE folder) {
    std::vector<std::uint64_t> buffer(8192);  // 64 KB, aligned for the records
    std::vector<ListedName> names;
    for (FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo; GetFileInformationByHandleEx(
             folder, kind, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof buffer[0]));
         kind = FileIdBothDirectoryInfo) {
        for (const char* next = reinterpret_cast<const char*>(buffer.data()); next;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(next);
            next = info->NextEntryOffset ? next + info->NextEntryOffset : nullptr;
            names.push_back(
                {std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t)), info->FileAttributes,
                 static_cast<std::uint64_t>(info->EndOfFile.QuadPart),
                 FILETIME{info->LastWriteTime.LowPart, static_cast<DWORD>(info->LastWriteTime.HighPart)},
                 static_cast<std::uint64_t>(info->FileId.QuadPart)});
        }
    }
    return names;
}

// ReadFolder of the folder at path (ending in "\\"); nullopt when it cannot be opened.
std::optional<std::vector<ListedName>> ReadFolderAt(const std::string& folder) {
    HandleOwner handle(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return std::nullopt;
    return ReadFolder(handle.Get());
}

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
    std::unique_ptr<DirectoryListing> FindFirst(const std::string& pattern, bool directoriesOnly) override {
        if (pattern.size() >= MAX_PATH) return nullptr;
        std::size_t slash = pattern.find_last_of("\\/:");
        std::size_t folderLength = slash == std::string::npos ? 0 : slash + 1;
        // "*.*" matches every name, so the folder's own listing gives the same entries, with each one's
        // file id, in one read.
        if (folderLength > 0 && pattern.compare(folderLength, std::string::npos, "*.*") == 0)
            if (auto listing = ListFolderByHandle(pattern.substr(0, folderLength), directoriesOnly))
                return listing;
        std::wstring search = Widen(pattern);
        const std::size_t nameStart = search.find_last_of(L"\\/:") + 1;  // 0 when there is no folder
        const std::wstring name = search.substr(nameStart);
        // A name without wildcards is looked up rather than matched, and Wine then gives the entry of
        // exactly that name, never its twins. The same name with a "?" for one of its characters matches
        // it and its twins (and a few others, which are dropped).
        const std::size_t replaced = name.find_first_not_of(L". ");
        const bool lookup = name.find_first_of(L"*?") == std::wstring::npos && replaced != std::wstring::npos;
        if (lookup) search[nameStart + replaced] = L'?';
        const std::wstring upperName = lookup ? UpperCaseName(std::wstring_view(name)) : std::wstring();
        WIN32_FIND_DATAW data;
        // Basic information, no short names, which Wine would make up for every entry; but a name looked
        // up may be a short name, which it must be compared with. Every kind of entry: a file beside a
        // folder can be its twin.
        FindOwner handle(FindFirstFileExW(search.c_str(), lookup ? FindExInfoStandard : FindExInfoBasic,
                                          &data, FindExSearchNameMatch, nullptr, 0));
        if (!handle) return nullptr;
        std::vector<ListedName> names = ReadSearch(handle.Get(), data, [&](const WIN32_FIND_DATAW& found) {
            return !lookup || UpperCaseName(std::wstring_view(found.cFileName)) == upperName ||
                   UpperCaseName(std::wstring_view(found.cAlternateFileName)) == upperName;
        });
        std::optional<std::uint32_t> volume;
        std::optional<std::vector<ListedName>> whole;
        if (!directoriesOnly && !names.empty() && folderLength > 0) {
            volume = VolumeSerialOfRoot(pattern);
            if (volume) whole = AddFileIds(pattern.substr(0, folderLength), names);
        }
        auto listing =
            std::make_unique<Win32Listing>(std::move(names), folderLength, directoriesOnly, volume);
        if (!listing->Prime()) return nullptr;
        if (whole) listing->KeepFolderRead(std::move(*whole));
        return listing;
    }

    std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override {
        // Backup semantics let CreateFile open a folder; no access is asked, only its identity.
        HandleOwner handle(CreateFileA(path.c_str(), 0,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!handle) return std::nullopt;
        std::optional<FolderIdentity> identity;
        std::uint64_t index = 0;
        std::optional<std::uint32_t> volume = VolumeSerialOfRoot(path);
        if (volume && QueryFileIndex(handle.Get(), index)) {
            identity = FolderIdentity{*volume, index};
        } else {
            BY_HANDLE_FILE_INFORMATION info;
            if (GetFileInformationByHandle(handle.Get(), &info))
                identity = FolderIdentity{
                    info.dwVolumeSerialNumber,
                    (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
        }
        return identity;
    }

    std::unique_ptr<ReadOnlyFile> OpenRead(const std::string& path) override {
        HFILE file = _lopen(path.c_str(), OF_READ);
        if (file == HFILE_ERROR) return nullptr;
        return std::make_unique<Win32ReadOnlyFile>(file);
    }

    // Windows marks a link as a reparse point, which the open below keeps closed. Wine opens a Linux
    // link's target instead, and names the open file by the target's own path: a file that is not
    // found under its folder's name for itself is a link.
    bool IsFileLink(const std::string& path) override {
        const std::wstring wide = Widen(path);
        return LinkTest(wide, true, FinalFolderOf(wide));
    }

    // The listing has told whether the file is a reparse point: only the name the open file has is left
    // to ask. Under Wine each question about an open file is a trip to the server, and a run asks of
    // every file it lists.
    bool IsListedFileLink(const std::string& path, std::uint32_t listedAttributes) override {
        if (listedAttributes & attr::ReparsePoint) return true;
        const std::wstring wide = Widen(path);
        return LinkTest(wide, false, FinalFolderOf(wide));
    }

    ListedFileAnswers ExamineListedFile(const std::string& path, std::uint32_t listedAttributes) override {
        const std::wstring wide = Widen(path);
        return Examine(path, wide, listedAttributes, FinalFolderOf(wide));
    }

    // The files of a batch are asked about side by side: under Wine each open, name and close waits on the
    // server, and questions from several threads overlap their waits (about twice as fast with four).
    std::vector<ListedFileAnswers> ExamineListedFiles(const std::string& folder,
                                                      const std::vector<DirectoryEntry>& entries) override {
        return StartExamining(folder, entries)->Answers();
    }

    // The helpers go on asking while the scan reads the next folders and lists what is answered: the
    // server is then never left waiting for the scan.
    std::unique_ptr<Examination> StartExamining(const std::string& folder,
                                                std::vector<DirectoryEntry> entries) override {
        // Asked here, once a folder: the helpers only read it.
        std::optional<std::wstring> finalFolder;
        if (!entries.empty()) finalFolder = FinalFolderOf(Widen(folder + entries.front().name));
        return std::make_unique<PooledExamination>(
            examiners_, folder, std::move(entries),
            [finalFolder = std::move(finalFolder)](const std::string& path, const DirectoryEntry& entry) {
                return Examine(path, Widen(path), entry.attributes, finalFolder);
            });
    }
    // Enough for the helpers to go on through the reading of a folder and the listing of a batch.
    std::size_t ExaminationsAhead() const override { return 8; }

private:
    // The open that asks whether the file can be written is the one that names it: one open a file
    // rather than two, each a few trips to the server under Wine. Only when it fails is the file
    // opened again, asking nothing, for its name. Touches nothing of the object: threads call it together.
    static ListedFileAnswers Examine(const std::string& path, const std::wstring& wide,
                                     std::uint32_t listedAttributes,
                                     const std::optional<std::wstring>& finalFolder) {
        if (listedAttributes & attr::ReparsePoint) return {true, std::nullopt};
        if (listedAttributes & (attr::ReadOnly | attr::Directory))
            return {LinkTest(wide, false, finalFolder), false};
        HandleOwner handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) return {LinkTest(wide, false, finalFolder), false};
        std::optional<std::wstring> file = FinalPathOf(handle.Get());
        return {!file || NamesAnotherFile(wide, *file, finalFolder), true};
    }

    static bool LinkTest(const std::wstring& wide, bool askReparse,
                         const std::optional<std::wstring>& finalFolder) {
        std::optional<std::wstring> file = FinalPathAt(wide, true, askReparse);
        return !file || NamesAnotherFile(wide, *file, finalFolder);
    }

    static bool NamesAnotherFile(const std::wstring& wide, const std::wstring& file,
                                 const std::optional<std::wstring>& finalFolder) {
        return CompareOpenedName(wide, file, finalFolder) != OpenedName::Same;
    }

    std::optional<std::wstring> FinalFolderOf(const std::wstring& wide) { return finalFolders_.Of(wide); }

    // The search by pattern does not give the files' numbers, and asking each open file for its own costs a
    // trip to the Wine server a file: one read of the whole folder gives them all. A name the folder read
    // does not find exactly (the folder changed in between) is left without one. Gives that read.
    static std::optional<std::vector<ListedName>> AddFileIds(const std::string& folder,
                                                             std::vector<ListedName>& names) {
        std::optional<std::vector<ListedName>> entries = ReadFolderAt(folder);
        if (!entries) return std::nullopt;
        std::unordered_map<std::wstring_view, std::uint64_t> ids;
        for (const ListedName& entry : *entries) ids.emplace(entry.name, entry.fileId);
        for (ListedName& name : names)
            if (auto id = ids.find(name.name); id != ids.end()) name.fileId = id->second;
        return entries;
    }

    // Every entry of the folder (ending in "\\") from one read through a handle to it; a listing of files
    // keeps that read for its folder listing.
    std::unique_ptr<DirectoryListing> ListFolderByHandle(const std::string& folder, bool directoriesOnly) {
        std::optional<std::uint32_t> volume = VolumeSerialOfRoot(folder);
        if (!volume) return nullptr;
        std::optional<std::vector<ListedName>> entries = ReadFolderAt(folder);
        if (!entries) return nullptr;
        std::optional<std::vector<ListedName>> whole;
        if (!directoriesOnly) whole = *entries;
        auto listing =
            std::make_unique<Win32Listing>(std::move(*entries), folder.size(), directoriesOnly, *volume);
        if (!listing->Prime()) return nullptr;
        if (whole) listing->KeepFolderRead(std::move(*whole));
        return listing;
    }

    // A folder reached without passing a mount point (the walk never enters reparse points) is on the
    // volume of its path's root.
    std::optional<std::uint32_t> VolumeSerialOfRoot(const std::string& path) {
        return volumeSerials_.Of(path);
    }

    VolumeSerialCache volumeSerials_;
    FinalFolderCache finalFolders_;
    // Four threads besides the scan's own, which reads and lists meanwhile: with two processors, three
    // left the server short of questions and six gave no more.
    WorkPool examiners_{4};
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

}  // namespace kelvaro
