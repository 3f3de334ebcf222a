#include "platform/open_file_win.h"

#include "platform/drive_part.h"
#include "platform/handle_owners_win.h"

namespace kelvaro {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

bool NarrowExactly(const wchar_t* name, int wideLength, std::string& narrow) {
    if (wideLength <= 0) return false;
    // Most names are plain ASCII, which every ANSI code page holds as it is.
    narrow.resize(static_cast<std::size_t>(wideLength));
    bool ascii = true;
    for (int i = 0; i < wideLength && ascii; ++i) {
        ascii = name[i] < 0x80;
        narrow[static_cast<std::size_t>(i)] = static_cast<char>(name[i]);
    }
    if (ascii) return true;
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, wideLength, nullptr, 0, nullptr,
                                     &usedDefault);
    if (length <= 0 || usedDefault) return false;
    narrow.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, wideLength, narrow.data(), length, nullptr,
                        &usedDefault);
    return !usedDefault && Widen(narrow) == std::wstring(name, static_cast<std::size_t>(wideLength));
}

std::optional<std::wstring> FinalPathOf(HANDLE handle) {
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), 0);
    if (length >= name.size()) {
        name.resize(length);
        length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), 0);
    }
    if (length > 0 && length < name.size()) return name.substr(0, length);
    return std::nullopt;
}

std::optional<std::wstring> FinalPathAt(const std::wstring& path, bool file, bool askReparse) {
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (file ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HandleOwner handle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, flags, nullptr));
    if (!handle) return std::nullopt;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (askReparse && (!GetFileInformationByHandleEx(handle.Get(), FileAttributeTagInfo, &tag, sizeof tag) ||
                       (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)))
        return std::nullopt;
    return FinalPathOf(handle.Get());
}

std::optional<std::wstring> FinalFolderCache::Of(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash + 1 == path.size()) return std::nullopt;
    std::wstring folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a root, not its current folder
    if (folder != folder_) {
        std::optional<std::wstring> final = FinalPathAt(folder, false, false);
        if (!final) return std::nullopt;
        if (final->empty() || final->back() != L'\\') *final += L'\\';
        folder_ = folder;
        final_ = *final;
    }
    return final_;
}

OpenedName CompareOpenedName(const std::wstring& path, const std::wstring& final,
                             const std::optional<std::wstring>& finalFolder) {
    if (!finalFolder) return OpenedName::Other;
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    if (final.size() != finalFolder->size() + name.size() ||
        final.compare(0, finalFolder->size(), *finalFolder) != 0)
        return OpenedName::Other;
    const wchar_t* finalName = final.c_str() + finalFolder->size();
    if (final.compare(finalFolder->size(), std::wstring::npos, name) == 0) return OpenedName::Same;
    return CompareStringOrdinal(finalName, static_cast<int>(name.size()), name.c_str(),
                                static_cast<int>(name.size()), TRUE) == CSTR_EQUAL
               ? OpenedName::OtherCase
               : OpenedName::Other;
}

namespace {

class FileIndexQuery {
public:
    FileIndexQuery() {
        if (HMODULE ntdll = GetModuleHandleA("ntdll.dll"))
            query_ = reinterpret_cast<QueryFunction>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")));
    }
    bool Query(HANDLE handle, std::uint64_t& index) const {
        if (!query_) return false;
        IoStatus status{};
        LARGE_INTEGER internalIndex{};
        if (query_(handle, &status, &internalIndex, sizeof internalIndex, kFileInternalInformation) != 0)
            return false;
        index = static_cast<std::uint64_t>(internalIndex.QuadPart);
        return true;
    }

private:
    struct IoStatus {
        void* statusOrPointer;
        ULONG_PTR information;
    };
    using QueryFunction = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
    static constexpr int kFileInternalInformation = 6;
    QueryFunction query_ = nullptr;
};

}  // namespace

bool QueryFileIndex(HANDLE handle, std::uint64_t& index) {
    // Made once; it only reads afterwards, so threads may share it.
    static const FileIndexQuery query;
    return query.Query(handle, index);
}

std::string RootOf(const std::string& path) {
    const std::string drive = DrivePart(path);
    return drive.empty() ? drive : drive + "\\";
}

std::optional<std::uint32_t> VolumeSerialCache::Of(const std::string& path) {
    const std::string root = RootOf(path);
    if (root.empty()) return std::nullopt;
    auto known = serials_.find(root);
    if (known != serials_.end()) return known->second;
    HandleOwner handle(CreateFileA(root.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
    serials_[root] = info.dwVolumeSerialNumber;
    return info.dwVolumeSerialNumber;
}

}  // namespace kelvaro
