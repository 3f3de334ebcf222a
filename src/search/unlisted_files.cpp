#include "search/unlisted_files.h"

#include "platform/name_case.h"

namespace kelvaro {

UnlistedFiles::UnlistedFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        const std::size_t slash = path.find_last_of('\\');
        if (slash == std::string::npos || slash + 1 == path.size()) continue;
        const std::string folder = path.substr(0, slash + 1);
        const std::wstring upperFolder = UpperCaseName(folder);
        auto known = folders_.begin();
        while (known != folders_.end() && known->upperPath != upperFolder) ++known;
        if (known == folders_.end()) known = folders_.insert(known, {folder, upperFolder, std::nullopt, {}});
        known->upperNames.push_back(UpperCaseName(std::string_view(path).substr(slash + 1)));
    }
}

void UnlistedFiles::IdentifyFolders(FileSystem& files) {
    for (Folder& folder : folders_) folder.identity = files.IdentifyFolder(folder.path);
}

const std::vector<std::wstring>* UnlistedFiles::NamesIn(const std::string& folder,
                                                        const std::optional<FolderIdentity>& identity) const {
    for (const Folder& unlisted : folders_) {
        // The volume is left out of the compare: under Wine every drive letter has a serial of its own, and
        // "C:\users" and "Z:\...\drive_c\users" are one folder. A folder elsewhere that shares the index
        // and holds a file of such a name loses only that file from its listing.
        const bool sameFolder = identity && unlisted.identity && identity->index != 0 &&
                                identity->index == unlisted.identity->index;
        if (sameFolder || UpperCaseName(folder) == unlisted.upperPath) return &unlisted.upperNames;
    }
    return nullptr;
}

}  // namespace kelvaro
