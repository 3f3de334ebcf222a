#include "search/directory_search.h"

namespace kelvaro {

DirectorySearch::DirectorySearch(FileSystem& files, const std::string& pattern, std::uint32_t mask,
                                 bool directoriesOnly)
    : listing_(files.FindFirst(pattern, directoriesOnly)), mask_(mask) {}

DirectorySearch DirectorySearch::Subfolders(FileSystem& files, const std::string& folder,
                                            std::uint32_t mask) {
    if (std::unique_ptr<DirectoryListing> read = listing_ ? listing_->TakeFolderListing() : nullptr)
        return DirectorySearch(std::move(read), mask);
    return DirectorySearch(files, folder + "*.*", mask, true);
}

bool DirectorySearch::Next(DirectoryEntry& entry) {
    if (!listing_) return false;
    while (listing_->Next(entry)) {
        if (!IsExcludedBySearchMask(entry.attributes, mask_)) return true;
    }
    return false;
}

}  // namespace kelvaro
