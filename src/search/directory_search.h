#pragma once
// A directory search that leaves out the kinds of entry its attribute mask does not ask for.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace kelvaro {

// Hidden, system, volume-label and directory entries come only when their bit is in the mask;
// the read-only and archive bits never exclude anything.
constexpr bool IsExcludedBySearchMask(std::uint32_t attributes, std::uint32_t mask) {
    return (attributes & ~mask & 0x1E) != 0;
}

class DirectorySearch {
public:
    // Starts the search at once; a missing folder or no match simply gives no entries.
    // directoriesOnly: the caller looks at folders only, so the rest need not be described.
    DirectorySearch(FileSystem& files, const std::string& pattern, std::uint32_t mask,
                    bool directoriesOnly = false);
    bool Next(DirectoryEntry& entry);

private:
    std::unique_ptr<DirectoryListing> listing_;
    std::uint32_t mask_;
};

}  // namespace kelvaro
