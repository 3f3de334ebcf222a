#include "search/directory_search.h"

namespace kelvaro {

DirectorySearch::DirectorySearch(FileSystem& files, const std::string& pattern, std::uint32_t mask,
                                 bool directoriesOnly)
    : listing_(files.FindFirst(pattern, directoriesOnly)), mask_(mask) {}

bool DirectorySearch::Next(DirectoryEntry& entry) {
    if (!listing_) return false;
    while (listing_->Next(entry)) {
        if (!IsExcludedBySearchMask(entry.attributes, mask_)) return true;
    }
    return false;
}

}  // namespace kelvaro
