#pragma once
// A directory search that leaves out the kinds of entry its attribute mask does not ask for.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

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
    // The entries of a listing already made.
    DirectorySearch(std::unique_ptr<DirectoryListing> listing, std::uint32_t mask)
        : listing_(std::move(listing)), mask_(mask) {}
    bool Next(DirectoryEntry& entry);
    // The entries of the search's folder (ending in "\\") for a walk into its subfolders: from the read
    // the search made of the whole folder where it made one, else from a folders-only search for "*.*".
    DirectorySearch Subfolders(FileSystem& files, const std::string& folder, std::uint32_t mask);

private:
    std::unique_ptr<DirectoryListing> listing_;
    std::uint32_t mask_;
};

}  // namespace kelvaro
