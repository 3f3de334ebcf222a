#include "search/protected_items.h"

#include <algorithm>
#include <string_view>

#include "base/wildcard_match.h"
#include "platform/name_case.h"

namespace kelvaro {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool NamesNothing(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Where the last part of an item starts: after its last separator, or after a drive's colon.
std::size_t LastPartStart(const std::string& item) {
    const std::size_t separator = item.find_last_of("\\/");
    if (separator != std::string::npos) return separator + 1;
    return item.size() >= 2 && item[1] == ':' ? 2 : 0;
}

// One spelling for the forms that name the same place: "\" between names, no empty or "." names, ".."
// taking back the name before it (never the drive or the share), no trailing dots or blanks on a name.
std::string NormalPath(std::string_view path) {
    const bool network = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    const std::size_t kept = network ? 2 : 1;
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::string name(path.substr(start, end - start));
        start = end + 1;
        if (name == "..") {
            if (names.size() > kept) names.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) names.push_back(std::move(name));
    }
    std::string normal = network ? "\\\\" : "";
    for (std::size_t i = 0; i < names.size(); ++i) normal += (i ? "\\" : "") + names[i];
    return normal;
}

// A drive's root as a folder of its own: "C:" alone names the drive's current folder.
std::string FolderToAsk(const std::string& normal) {
    return normal.size() == 2 && normal[1] == ':' ? normal + "\\" : normal;
}

std::wstring ComparedPath(std::string_view path) {
    return UpperCaseName(NormalPath(path));
}

bool IsWithin(const std::wstring& path, const std::wstring& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == L'\\';
}

// The volume is left out: under Wine every drive letter has a serial of its own for one place.
bool SameFolder(const std::optional<FolderIdentity>& a, const std::optional<FolderIdentity>& b) {
    return a && b && a->index != 0 && a->index == b->index;
}

// The directory search's wildcards over upper-case forms.
bool SpecificationMatches(std::wstring_view spec, std::wstring_view name) {
    return WildcardMatch(spec, name, [](wchar_t a, wchar_t b) { return a == b; });
}

}  // namespace

std::string ProtectedFolderPart(const std::string& item) {
    const std::size_t start = LastPartStart(item);
    if (start == 0) return "";
    // "C:x" has a folder of "C:"; "\x" and "C:\x" keep their root's separator.
    const bool root = !IsSeparator(item[start - 1]) || start == 1 || (start == 3 && item[1] == ':');
    return item.substr(0, root ? start : start - 1);
}

bool IsProtectedSpecification(const std::string& item) {
    return item.find_first_of("*?", LastPartStart(item)) != std::string::npos;
}

ProtectedItems::ProtectedItems(const std::vector<std::string>& items) {
    for (const std::string& text : items) {
        if (NamesNothing(text)) continue;
        const std::string folder = ProtectedFolderPart(text);
        const std::string last = text.substr(LastPartStart(text));
        Item item{};
        if (folder.empty()) {
            item.kind = Kind::Specification;
            item.upperName = UpperCaseName(last);
        } else if (IsProtectedSpecification(text)) {
            item.kind = Kind::FolderSpecification;
            item.path = NormalPath(folder);
            item.upperPath = UpperCaseName(item.path);
            item.upperName = UpperCaseName(last);
        } else {
            item.kind = Kind::Path;
            item.path = NormalPath(text);
            item.upperPath = UpperCaseName(item.path);
            const std::size_t separator = item.path.find_last_of('\\');
            if (separator != std::string::npos && separator > 1) {
                item.parent = item.path.substr(0, separator);
                item.upperParent = UpperCaseName(item.parent);
                item.upperName = UpperCaseName(std::string_view(item.path).substr(separator + 1));
            }
        }
        items_.push_back(std::move(item));
    }
}

void ProtectedItems::IdentifyFolders(FileSystem& files) {
    for (Item& item : items_) {
        if (item.kind == Kind::Specification) continue;
        item.identity = files.IdentifyFolder(FolderToAsk(item.path));
        if (!item.parent.empty()) item.parentIdentity = files.IdentifyFolder(FolderToAsk(item.parent));
    }
}

ProtectedFolder ProtectedItems::EnterRoot(const std::string& folder,
                                          const std::optional<FolderIdentity>& identity,
                                          FileSystem& files) const {
    ProtectedFolder result;
    if (items_.empty()) return result;
    const std::string normal = NormalPath(folder);
    const std::wstring upper = UpperCaseName(normal);
    bool identified = false;
    for (const Item& item : items_) {
        identified = identified || item.identity;
        if (item.kind == Kind::Specification) {
            result.specs.push_back(item.upperName);
            continue;
        }
        // A root below a protected folder, or below the folder of a specification.
        if (!IsWithin(upper, item.upperPath)) continue;
        if (item.kind == Kind::Path) result.covered = true;
        if (item.kind == Kind::FolderSpecification) result.specs.push_back(item.upperName);
    }
    AddAnchored(upper, identity, result);
    // The same by identity: each folder the root lies in, spelled as the root spells it.
    for (std::size_t separator = normal.find_last_of('\\');
         identified && !result.covered && separator != 0 && separator != std::string::npos;
         separator = normal.find_last_of('\\', separator - 1)) {
        const std::string above = normal.substr(0, separator);
        const std::optional<FolderIdentity> aboveIdentity = files.IdentifyFolder(FolderToAsk(above));
        for (const Item& item : items_) {
            if (!SameFolder(aboveIdentity, item.identity)) continue;
            if (item.kind == Kind::Path) result.covered = true;
            if (item.kind == Kind::FolderSpecification) result.specs.push_back(item.upperName);
        }
    }
    return result;
}

ProtectedFolder ProtectedItems::Enter(const std::string& folder,
                                      const std::optional<FolderIdentity>& identity,
                                      const ProtectedFolder& parent) const {
    ProtectedFolder result;
    if (items_.empty()) return result;
    result.specs = parent.specs;
    AddAnchored(ComparedPath(folder), identity, result);
    return result;
}

void ProtectedItems::AddAnchored(const std::wstring& upperFolder,
                                 const std::optional<FolderIdentity>& identity,
                                 ProtectedFolder& folder) const {
    for (const Item& item : items_) {
        if (item.kind == Kind::Specification) continue;
        const bool same = upperFolder == item.upperPath || SameFolder(identity, item.identity);
        if (same && item.kind == Kind::Path) folder.covered = true;
        if (same && item.kind == Kind::FolderSpecification) folder.specs.push_back(item.upperName);
        if (item.kind == Kind::Path && !item.upperName.empty() &&
            (upperFolder == item.upperParent || SameFolder(identity, item.parentIdentity)))
            folder.names.push_back(item.upperName);
    }
}

bool ProtectedItems::Protects(const ProtectedFolder& folder, const std::string& name) {
    if (folder.names.empty() && folder.specs.empty()) return false;
    const std::wstring upper = UpperCaseName(name);
    if (std::find(folder.names.begin(), folder.names.end(), upper) != folder.names.end()) return true;
    return std::any_of(folder.specs.begin(), folder.specs.end(),
                       [&](const std::wstring& spec) { return SpecificationMatches(spec, upper); });
}

}  // namespace kelvaro
