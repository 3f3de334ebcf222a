#include "rules/protected_store.h"

#include <cstdint>
#include <memory>
#include <optional>

#include "base/integer_text.h"

namespace kelvaro {
namespace {

const std::string kProtected = "Protected";

// Nobody protects this many items: a larger "Count" comes from a hand edit.
constexpr std::int32_t kMaxItems = 10000;

std::string ItemName(std::int32_t n) {
    return "Item" + std::to_string(n);
}

// nullopt when the value is missing; a value of another type notes the damage and reads as missing.
std::optional<std::string> ReadText(RegistryKey& key, const std::string& name, std::string& damage) {
    const RegistryValue value = key.ReadValue(name);
    switch (value.type) {
        case RegistryValueType::Missing:
            return std::nullopt;
        case RegistryValueType::String:
        case RegistryValueType::ExpandString:
            // The text up to its first zero character; nothing is expanded.
            return value.data.substr(0, value.data.find('\0'));
        case RegistryValueType::Other:
            break;
    }
    if (damage.empty()) damage = "'" + name + "' is not text";
    return std::nullopt;
}

std::optional<std::int32_t> ToCount(const std::string& text) {
    try {
        const std::int32_t count = StrToInt(text);
        if (count >= 0 && count <= kMaxItems) return count;
    } catch (const EConvertError&) {
    }
    return std::nullopt;
}

}  // namespace

StoredProtection LoadProtectedItems(Registry& registry, const std::string& keyPath) {
    StoredProtection stored;
    std::unique_ptr<RegistryKey> key = registry.OpenKey(keyPath + "\\" + kProtected, false);
    if (!key) return stored;
    std::string& damage = stored.damage;
    std::optional<std::int32_t> count;
    if (const std::optional<std::string> text = ReadText(*key, "Count", damage)) {
        count = ToCount(*text);
        if (!count && damage.empty()) damage = "'Count' is not a number of items";
    } else if (damage.empty() && key->ReadValue(ItemName(1)).type != RegistryValueType::Missing) {
        damage = "'Count' is missing";
    } else if (damage.empty()) {
        return stored;
    }
    if (count) {
        for (std::int32_t n = 1; n <= *count; ++n) {
            if (std::optional<std::string> item = ReadText(*key, ItemName(n), damage))
                stored.items.push_back(std::move(*item));
            else if (damage.empty())
                damage = "'" + ItemName(n) + "' is missing";
        }
        return stored;
    }
    // Without a count the items are taken up to the first one that cannot be read.
    for (std::int32_t n = 1; n <= kMaxItems; ++n) {
        std::optional<std::string> item = ReadText(*key, ItemName(n), damage);
        if (!item) break;
        stored.items.push_back(std::move(*item));
    }
    return stored;
}

std::vector<std::string> LoadProtectedItemsForRun(Registry& registry, const std::string& keyPath) {
    StoredProtection stored = LoadProtectedItems(registry, keyPath);
    if (!stored.damage.empty())
        throw Exception("The protected folders cannot be read (" + stored.damage +
                        "), so nothing is searched: open Options > Protected Folders to see them and save "
                        "them again.");
    return std::move(stored.items);
}

void SaveProtectedItems(Registry& registry, const std::vector<std::string>& items,
                        const std::string& keyPath) {
    std::unique_ptr<RegistryKey> key = registry.OpenKey(keyPath + "\\" + kProtected, true);
    if (!key) throw ERegistryException("Failed to create key " + kProtected);
    const auto write = [&](const std::string& name, const std::string& text) {
        if (!key->WriteString(name, text)) throw ERegistryException("Failed to set data for '" + name + "'");
    };
    write("Count", std::to_string(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i)
        write(ItemName(static_cast<std::int32_t>(i + 1)), items[i]);
}

}  // namespace kelvaro
