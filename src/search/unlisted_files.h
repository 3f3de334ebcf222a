#pragma once
// Files that no scan lists, whatever a rule asks: the program's own deletion record, which a rule such as
// "*.log" over the application-data folder would otherwise offer for deletion. A folder is recognised by
// its path, compared as Windows compares names (letter case ignored), or by its identity when it is
// reached by another spelling.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kelvaro {

class UnlistedFiles {
public:
    UnlistedFiles() = default;
    // Full paths, folders joined by "\".
    explicit UnlistedFiles(const std::vector<std::string>& paths);

    bool Empty() const { return folders_.empty(); }
    // Asks the identity of each file's folder, once a scan: a folder may be made or replaced between scans.
    void IdentifyFolders(FileSystem& files);
    // The upper-case names of the files that lie in folder (ending in "\"), whose identity is given when it
    // is known; none for almost every folder.
    const std::vector<std::wstring>* NamesIn(const std::string& folder,
                                             const std::optional<FolderIdentity>& identity) const;

private:
    struct Folder {
        std::string path;  // ending in "\"
        std::wstring upperPath;
        std::optional<FolderIdentity> identity;
        std::vector<std::wstring> upperNames;
    };
    std::vector<Folder> folders_;
};

}  // namespace kelvaro
