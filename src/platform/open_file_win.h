#pragma once
// What the system tells of an open file or folder: the name it gives it and its number on its volume.
// Under Wine these answer for the entry that was opened, which a path's name may not: a Linux link to a
// file opens its target, and a name whose entry is gone opens another whose name differs only in case.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace kelvaro {

// A text of the ANSI code page as wide characters.
std::wstring Widen(const std::string& text);
// The ANSI form of a wide name into narrow; false when the code page cannot hold it exactly (the "A" calls
// would then reach another file, or none).
bool NarrowExactly(const wchar_t* name, int wideLength, std::string& narrow);

// The path the system gives to an open file or folder ("\\?\C:\dir\name"); nullopt when it gives none.
std::optional<std::wstring> FinalPathOf(HANDLE handle);

// The path the system gives to the entry opened at path; with askReparse, nullopt for a reparse point.
std::optional<std::wstring> FinalPathAt(const std::wstring& path, bool file, bool askReparse);

// The name the system gives the folder a path lies in, with a trailing "\"; nullopt when it cannot be told.
// Kept for the folder last asked about.
class FinalFolderCache {
public:
    std::optional<std::wstring> Of(const std::wstring& path);

private:
    std::wstring folder_;
    std::wstring final_;
};

// How the name the system gives an open file (final) compares with the path it was opened by: the same
// entry, another entry whose name differs from it only in case, or another file altogether (a link's
// target). finalFolder: the system's name for the path's folder (FinalFolderCache); without it, Other.
enum class OpenedName { Same, OtherCase, Other };
OpenedName CompareOpenedName(const std::wstring& path, const std::wstring& final,
                             const std::optional<std::wstring>& finalFolder);

// The file index alone, without the volume serial that GetFileInformationByHandle also fetches: under
// Wine that costs more than half a millisecond a call. False when it cannot be told.
bool QueryFileIndex(HANDLE handle, std::uint64_t& index);

// "C:\" or "\\server\share\" of a full path: the folder whose volume serial stands for the volume.
std::string RootOf(const std::string& path);

// The serial GetFileInformationByHandle reports for everything on the volume of a path reached without
// passing a mount point, asked once per root.
class VolumeSerialCache {
public:
    std::optional<std::uint32_t> Of(const std::string& path);

private:
    std::map<std::string, std::uint32_t> serials_;
};

}  // namespace kelvaro
