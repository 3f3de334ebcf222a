#pragma once
// Everything one directory search gives, by name.
#include <map>
#include <string>

#include "platform/file_system.h"

namespace kelvaro::testing {

inline std::map<std::string, DirectoryEntry> ListEntries(FileSystem& files, const std::string& pattern,
                                                         bool directoriesOnly = false) {
    std::map<std::string, DirectoryEntry> entries;
    auto listing = files.FindFirst(pattern, directoriesOnly);
    DirectoryEntry entry;
    while (listing && listing->Next(entry)) entries[entry.name] = entry;
    return entries;
}

}  // namespace kelvaro::testing
