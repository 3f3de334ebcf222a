#pragma once
// What no scan lists, whatever its rule: the folders, files and file specifications the user protected.
//
// An item is one of three kinds, told apart by its text:
// - a bare file specification ("*.docx", "Thumbs.db"): file names it matches are protected everywhere;
// - a path ("C:\Users\me\Documents", "C:\Data\report.txt"): that entry, and when it is a folder everything
//   below it; its subfolders are not even entered;
// - a folder with a specification ("C:\Data\*.db", the last part holding "*" or "?"): file names the
//   specification matches in that folder and every folder below it.
// Specifications match file names only, with the directory search's wildcards ("*", "?", "*.*" for every
// name). Paths are compared as Windows compares names (the platform's case folding), after the forms that
// name the same place are made one: "/" or "\", repeated, trailing or "\." separators, "..", and trailing
// dots and blanks of a name. A folder reached by another spelling (another drive letter for the same
// place, a short name) is also recognised by its identity.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kelvaro {

// What protection asks of one folder a walk enters.
struct ProtectedFolder {
    bool covered = false;             // nothing in it is listed and its subfolders are not entered
    std::vector<std::wstring> names;  // upper-case names of protected entries in it
    std::vector<std::wstring> specs;  // upper-case specifications its file names are matched against
};

// The folder part of an item, "" for a bare file specification.
std::string ProtectedFolderPart(const std::string& item);
// Whether the item's last part is a specification of names rather than a name.
bool IsProtectedSpecification(const std::string& item);

class ProtectedItems {
public:
    ProtectedItems() = default;
    // Items whose folder part is absolute (run/run_folder.h makes them so); blank items protect nothing.
    explicit ProtectedItems(const std::vector<std::string>& items);

    bool Empty() const { return items_.empty(); }
    // Asks the identity of each protected folder, once a scan: a folder may be made or replaced between
    // scans.
    void IdentifyFolders(FileSystem& files);

    // The root of a walk, which may lie anywhere below a protected folder: its parents are asked their
    // identity too when a protected folder has one.
    ProtectedFolder EnterRoot(const std::string& folder, const std::optional<FolderIdentity>& identity,
                              FileSystem& files) const;
    // A subfolder the walk is about to enter from parent.
    ProtectedFolder Enter(const std::string& folder, const std::optional<FolderIdentity>& identity,
                          const ProtectedFolder& parent) const;
    // Whether a file of that name in the folder is protected.
    static bool Protects(const ProtectedFolder& folder, const std::string& name);

private:
    enum class Kind { Specification, Path, FolderSpecification };
    struct Item {
        Kind kind;
        std::string path;          // the folder of a specification, or the path, in one spelling
        std::string parent;        // a path's folder, in one spelling
        std::wstring upperPath;    // path as compared
        std::wstring upperParent;  // parent as compared
        std::wstring upperName;    // a path's last name, or the specification
        std::optional<FolderIdentity> identity;        // of upperPath, when it is a folder
        std::optional<FolderIdentity> parentIdentity;  // of a path's folder
    };
    // Adds what the items anchored at this folder (found by its compared form or identity) protect.
    void AddAnchored(const std::wstring& upperFolder, const std::optional<FolderIdentity>& identity,
                     ProtectedFolder& folder) const;
    std::vector<Item> items_;
};

}  // namespace kelvaro
