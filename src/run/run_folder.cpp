#include "run/run_folder.h"

#include <algorithm>
#include <optional>

#include "base/errors.h"
#include "search/protected_items.h"

namespace kelvaro {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "C:\..." and network or device paths ("\\server\share", "\\?\C:\...") name the same folder whatever
// the current folder is.
bool IsAbsolute(const std::string& path) {
    if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) return true;
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

bool NamesNoFolder(const std::string& location) {
    return std::all_of(location.begin(), location.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

std::string RunFolder(const std::string& location, int ruleNumber, FullPaths& paths) {
    if (NamesNoFolder(location) || IsAbsolute(location)) return location;
    if (std::optional<std::string> full = paths.FullPath(location)) return *full;
    throw Exception("The folder of rule " + std::to_string(ruleNumber) + ", \"" + location +
                    "\", cannot be made a full path");
}

std::vector<std::string> RunProtectedItems(const std::vector<std::string>& items, FullPaths& paths) {
    std::vector<std::string> absolute;
    for (const std::string& item : items) {
        const std::string folder = ProtectedFolderPart(item);
        const bool specification = IsProtectedSpecification(item);
        const std::string relative = specification ? folder : item;
        if (folder.empty() || NamesNoFolder(relative) || IsAbsolute(relative)) {
            absolute.push_back(item);
            continue;
        }
        std::optional<std::string> full = paths.FullPath(relative);
        if (!full) throw Exception("The protected item \"" + item + "\" cannot be made a full path");
        absolute.push_back(specification ? *full + "\\" + item.substr(item.find_last_of("\\/:") + 1) : *full);
    }
    return absolute;
}

}  // namespace kelvaro
