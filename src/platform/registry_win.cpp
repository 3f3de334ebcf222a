#include <windows.h>

#include "platform/handle_owners_win.h"
#include "platform/registry.h"

namespace kelvaro {
namespace {

std::unique_ptr<RegistryKey> OpenUnder(HKEY parent, const std::string& path, bool create,
                                       REGSAM access = KEY_ALL_ACCESS);

class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(RegistryKeyOwner key) : key_(std::move(key)) {}

    std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
        return OpenUnder(key_.Get(), path, create);
    }

    RegistryValue ReadValue(const std::string& name) override {
        RegistryValue value;
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return value;
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            value.type = RegistryValueType::Other;
            return value;
        }
        // Another writer may grow the value between the size query and the read.
        for (;;) {
            value.data.resize(size);
            DWORD read = size;
            LONG result = RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(value.data.data()), &read);
            if (result == ERROR_MORE_DATA) {
                size = read > size ? read : size * 2 + 1;
                continue;
            }
            if (result != ERROR_SUCCESS) return {};
            // The size query of the "A" call may promise more than the converted text fills.
            value.data.resize(read);
            break;
        }
        if (type == REG_SZ) {
            value.type = RegistryValueType::String;
        } else if (type == REG_EXPAND_SZ) {
            value.type = RegistryValueType::ExpandString;
        } else {
            value = {RegistryValueType::Other, {}};
        }
        return value;
    }

    bool WriteString(const std::string& name, const std::string& text) override {
        // The call counts a terminating zero in by itself when the byte just past the given data is zero,
        // as it always is after a std::string's characters; a non-zero byte there keeps the count exact.
        std::string data = text + '\x01';
        return RegSetValueExA(key_.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                              static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
    }

private:
    RegistryKeyOwner key_;
};

std::unique_ptr<RegistryKey> OpenUnder(HKEY parent, const std::string& path, bool create, REGSAM access) {
    HKEY key = nullptr;
    LONG result = create ? RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                           nullptr, &key, nullptr)
                         : RegOpenKeyExA(parent, path.c_str(), 0, access, &key);
    if (result != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32RegistryKey>(RegistryKeyOwner(key));
}

class Win32Registry : public Registry {
public:
    explicit Win32Registry(HKEY root) : root_(root) {}
    std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
        return OpenUnder(root_, path, create);
    }
    // A user (or a policy) may hold only read rights on the shell's keys; asking for more would fail.
    std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) override {
        return OpenUnder(root_, path, false, KEY_READ);
    }

private:
    HKEY root_;  // predefined, never closed
};

}  // namespace

std::unique_ptr<Registry> MakePlatformRegistry() {
    return std::make_unique<Win32Registry>(HKEY_CURRENT_USER);
}

std::unique_ptr<Registry> MakePlatformClassesRoot() {
    return std::make_unique<Win32Registry>(HKEY_CLASSES_ROOT);
}

}  // namespace kelvaro
