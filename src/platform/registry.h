#pragma once
// The current user's registry as the settings store needs it: keys opened by path, values read with
// their type, text written as strings. Conversions and defaults are the store's business, not this one's.
#include <memory>
#include <string>

namespace kelvaro {

enum class RegistryValueType { Missing, String, ExpandString, Other };

struct RegistryValue {
    RegistryValueType type = RegistryValueType::Missing;
    // The stored bytes as they are, a terminating zero included when the writer stored one; nothing is
    // expanded. Empty unless the type is String or ExpandString.
    std::string data;
};

// One open key; closed when the object is destroyed.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // path is relative to this key ("Settings", "A\\B"). The key is opened with full access and, with
    // create, made when missing. nullptr when it is missing (without create) or cannot be opened or made.
    virtual std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) = 0;
    // Missing when there is no such value or it cannot be read.
    virtual RegistryValue ReadValue(const std::string& name) = 0;
    // A string value holding exactly the characters of text, without a terminating zero.
    // False when the value could not be written.
    virtual bool WriteString(const std::string& name, const std::string& text) = 0;
};

// One root of the registry: HKEY_CURRENT_USER, or the classes root (the file types) where named so.
class Registry {
public:
    virtual ~Registry() = default;
    // As RegistryKey::OpenKey, with path relative to the root.
    virtual std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) = 0;
    // An existing key opened with read access only, for keys that belong to someone else (the shell's);
    // nothing can be written through it. nullptr when it is missing or cannot be opened.
    virtual std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) = 0;
};

// Windows build only.
std::unique_ptr<Registry> MakePlatformRegistry();
// HKEY_CLASSES_ROOT, to be read only (OpenKeyForReading).
std::unique_ptr<Registry> MakePlatformClassesRoot();

}  // namespace kelvaro
