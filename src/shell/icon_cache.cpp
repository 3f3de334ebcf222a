#include "shell/icon_cache.h"

#include <algorithm>
#include <iterator>

namespace kelvaro {
namespace {

// A string value's text without the terminating zero the writer may have stored; nothing is expanded.
std::string StringValue(RegistryKey* key, const std::string& name) {
    if (!key) return {};
    RegistryValue value = key->ReadValue(name);
    if (value.type != RegistryValueType::String && value.type != RegistryValueType::ExpandString) return {};
    return value.data.substr(0, value.data.find('\0'));
}

}  // namespace

int IconCache::IndexOf(const std::string& path, const std::string& extension) {
    auto known = byExtension_.find(extension);
    if (known != byExtension_.end()) return known->second;
    int index = lookup_(path);
    if (SharesOneIcon(extension)) byExtension_[extension] = index;
    return index;
}

bool IconCache::SharesOneIcon(const std::string& extension) {
    static const char* const kOwnIcons[] = {".EXE", ".LNK", ".ICO", ".CUR", ".ANI", ".DLL", ".URL",
                                            ".PIF", ".SCR", ".CPL", ".MSC", ".COM", ".BAT", ".CMD"};
    if (extension.empty() ||
        std::find(std::begin(kOwnIcons), std::end(kOwnIcons), extension) != std::end(kOwnIcons))
        return false;
    const std::string progId = StringValue(classesRoot_.OpenKeyForReading(extension).get(), "");
    if (progId.empty()) return true;  // an unknown type shows the generic icon
    if (classesRoot_.OpenKeyForReading(progId + "\\shellex\\IconHandler")) return false;
    auto iconKey = classesRoot_.OpenKeyForReading(progId + "\\DefaultIcon");
    return StringValue(iconKey.get(), "").find("%1") == std::string::npos;
}

}  // namespace kelvaro
