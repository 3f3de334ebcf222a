#include "rules/settings_store.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "base/integer_text.h"

namespace kelvaro {
namespace {

const std::string kSettings = "Settings";
const std::string kFiles = "Files";

// Nobody types in this many rules: a larger "Count" comes from a hand edit and would never finish loading.
constexpr std::int32_t kMaxLoadedRules = 10000;

// Rule n is stored as these names followed by n; the first is the caption, the others sub-items 0 to 4.
constexpr std::array<const char*, 6> kRuleValueNames = {"Path", "Spec", "Age", "Size", "Sub", "Rmv"};
const std::string kDefaultLocation = "C:\\";
const std::string kDefaultCell = " ";

struct ColumnValue {
    const char* name;
    int defaultWidth;
};
// Indexed by column position. The results list's names are out of column order; load and save share
// this table, so every width comes back to the column it was saved from.
constexpr std::array<ColumnValue, 6> kResultsColumns = {{
    {"ColumnA0", 140},
    {"ColumnA5", 40},
    {"ColumnA1", 170},
    {"ColumnA2", 80},
    {"ColumnA3", 60},
    {"ColumnA4", 60},
}};
constexpr std::array<ColumnValue, 6> kSetupColumns = {{
    {"ColumnB0", 190},
    {"ColumnB1", 80},
    {"ColumnB2", 80},
    {"ColumnB3", 80},
    {"ColumnB4", 55},
    {"ColumnB5", 50},
}};

// The settings key for one load or save. Every read and write opens its subkey afresh, so a subkey that
// is missing simply reads as defaults and one that cannot be made fails only the write that needs it.
// A settings key that could not be opened at all behaves as an empty one that cannot be written to.
class SettingsKey {
public:
    SettingsKey(Registry& registry, const std::string& path) : key_(registry.OpenKey(path, true)) {}

    void Close() { key_.reset(); }

    // A value of another type than text reads as its fallback; the first such value is remembered for
    // ThrowFirstError. Going on past it lets the window hold every value that can be read, so that the
    // save at close writes them back instead of the design state of everything after the damaged one.
    std::string ReadText(const std::string& section, const std::string& name, const std::string& fallback) {
        return ReadStoredText(section, name, fallback).value_or(fallback);
    }

    // ReadText, but nullopt when the value is missing.
    std::optional<std::string> ReadStoredText(const std::string& section, const std::string& name,
                                              const std::string& fallback) {
        const RegistryValue value = Read(section, name);
        switch (value.type) {
            case RegistryValueType::Missing:
                return std::nullopt;
            case RegistryValueType::String:
            case RegistryValueType::ExpandString:
                return TextOf(value);
            case RegistryValueType::Other:
                break;
        }
        if (firstError_.empty()) firstError_ = "Invalid data type for '" + name + "'";
        return fallback;
    }

    void ThrowFirstError() const {
        if (!firstError_.empty()) throw ERegistryException(firstError_);
    }

    // The number a count value holds: 0 when it is missing, nullopt when it is there but is not a whole
    // number of 0 or more (a value of another type also counts as an error).
    std::optional<std::int32_t> ReadCount(const std::string& section, const std::string& name) {
        const std::optional<std::string> text = ReadStoredText(section, name, "");
        if (!text) return 0;
        const std::optional<std::int32_t> count = ToInteger(*text);
        if (!count || *count < 0) return std::nullopt;
        return count;
    }

    // A missing value and one that does not convert both give the fallback.
    std::int32_t ReadInteger(const std::string& section, const std::string& name, std::int32_t fallback) {
        return ToInteger(ReadText(section, name, "")).value_or(fallback);
    }

    bool ReadBool(const std::string& section, const std::string& name, bool fallback) {
        return ReadInteger(section, name, fallback ? 1 : 0) != 0;
    }

    void WriteText(const std::string& section, const std::string& name, const std::string& text) {
        std::unique_ptr<RegistryKey> subkey = key_ ? key_->OpenKey(section, true) : nullptr;
        if (!subkey) throw ERegistryException("Failed to create key " + section);
        if (!subkey->WriteString(name, text))
            throw ERegistryException("Failed to set data for '" + name + "'");
    }

    void WriteInteger(const std::string& section, const std::string& name, std::int32_t value) {
        WriteText(section, name, std::to_string(value));
    }

    void WriteBool(const std::string& section, const std::string& name, bool value) {
        WriteText(section, name, value ? "1" : "0");
    }

private:
    RegistryValue Read(const std::string& section, const std::string& name) {
        std::unique_ptr<RegistryKey> subkey = key_ ? key_->OpenKey(section, false) : nullptr;
        return subkey ? subkey->ReadValue(name) : RegistryValue{};
    }

    // The text up to its first zero character; nothing is expanded.
    static std::string TextOf(const RegistryValue& value) {
        return value.data.substr(0, value.data.find('\0'));
    }

    static std::optional<std::int32_t> ToInteger(std::string text) {
        // Hexadecimal as C writes it is taken too; a bare "0x" is left to fail.
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
            text = "$" + text.substr(2);
        try {
            return StrToInt(text);
        } catch (const EConvertError&) {
            return std::nullopt;
        }
    }

    std::unique_ptr<RegistryKey> key_;
    std::string firstError_;
};

// False, loading nothing, when onlyIfStored and rule n has no location value.
bool LoadRule(SettingsKey& key, SettingsWindow& window, std::int32_t n, bool onlyIfStored = false) {
    const std::string suffix = std::to_string(n);
    RuleRow row;
    const std::optional<std::string> location =
        key.ReadStoredText(kFiles, kRuleValueNames[0] + suffix, kDefaultLocation);
    if (!location && onlyIfStored) return false;
    row.Caption = location.value_or(kDefaultLocation);
    for (std::size_t i = 0; i < row.SubItems.size(); ++i)
        row.SubItems[i] = key.ReadText(kFiles, kRuleValueNames[i + 1] + suffix, kDefaultCell);
    window.AppendRule(row);
    return true;
}

const char* StyleText(ViewStyle style) {
    switch (style) {
        case ViewStyle::List:
            return "List";
        case ViewStyle::SmallIcons:
            return "Small";
        case ViewStyle::LargeIcons:
            return "Large";
        case ViewStyle::Report:
            break;
    }
    return "Report";
}

}  // namespace

void LoadSettings(Registry& registry, SettingsWindow& window, const std::string& keyPath) {
    SettingsKey key(registry, keyPath);

    window.SetUseRecycleBin(key.ReadBool(kSettings, "Recycle", true));
    window.SetConfirmDelete(key.ReadBool(kSettings, "Confirm", true));
    window.ShowFlagState();
    window.SetRunAtBootTick(key.ReadBool(kSettings, "Boot", false));

    // A "Count" that cannot be read does not hide the rules stored under it: they are taken up to the
    // first one missing, and the save at close writes them back under a count of their own. Loading none
    // would let the next rule added take the place of rule 1.
    std::optional<std::int32_t> count = key.ReadCount(kFiles, "Count");
    if (count) count = std::min(*count, kMaxLoadedRules);

    window.SetWidth(key.ReadInteger(kSettings, "Width", 549));
    window.SetTop(key.ReadInteger(kSettings, "Top", 50));
    window.SetLeft(key.ReadInteger(kSettings, "Left", 50));
    window.SetHeight(key.ReadInteger(kSettings, "Height", 300));

    // Case-sensitive, and the value is read anew for each of the four texts. A text that matches none
    // keeps the list's current style and presses no button.
    for (ViewStyle style :
         {ViewStyle::Report, ViewStyle::List, ViewStyle::SmallIcons, ViewStyle::LargeIcons}) {
        if (key.ReadText(kSettings, "Style", "Report") == StyleText(style))
            window.ApplyResultsViewStyle(style);
    }

    if (count) {
        for (std::int32_t n = 1; n <= *count; ++n) LoadRule(key, window, n);
    } else {
        for (std::int32_t n = 1; n <= kMaxLoadedRules && LoadRule(key, window, n, true); ++n) {
        }
    }

    for (int column = 0; column < 6; ++column) {
        const ColumnValue& value = kResultsColumns[static_cast<std::size_t>(column)];
        window.SetResultsColumnWidth(column, key.ReadInteger(kSettings, value.name, value.defaultWidth));
    }
    for (int column = 0; column < 6; ++column) {
        const ColumnValue& value = kSetupColumns[static_cast<std::size_t>(column)];
        window.SetSetupColumnWidth(column, key.ReadInteger(kSettings, value.name, value.defaultWidth));
    }

    window.SetSaveOnExitTick(key.ReadBool(kSettings, "Save", true));
    window.SetOffice97Tick(key.ReadBool(kSettings, "Office97", true));
    key.Close();
    window.ApplyButtonStyle();
    key.ThrowFirstError();
}

void SaveSettings(Registry& registry, SettingsWindow& window, const std::string& keyPath) {
    SettingsKey key(registry, keyPath);

    key.WriteBool(kSettings, "Recycle", window.UseRecycleBin());
    key.WriteBool(kSettings, "Confirm", window.ConfirmDelete());
    key.WriteBool(kSettings, "Boot", window.RunAtBootTick());
    key.WriteBool(kSettings, "Office97", window.Office97Tick());
    key.WriteBool(kSettings, "Save", window.SaveOnExitTick());

    // Values of rules beyond the new count are left behind; the load never reads past "Count".
    const int count = window.RuleCount();
    key.WriteInteger(kFiles, "Count", count);
    for (int index = 0; index < count; ++index) {
        const RuleRow row = window.Rule(index);
        const std::string suffix = std::to_string(index + 1);
        key.WriteText(kFiles, kRuleValueNames[0] + suffix, row.Caption);
        for (std::size_t i = 0; i < row.SubItems.size(); ++i)
            key.WriteText(kFiles, kRuleValueNames[i + 1] + suffix, row.SubItems[i]);
    }

    if (window.SaveOnExitTick()) {
        const WindowBounds bounds = window.Bounds();
        key.WriteInteger(kSettings, "Width", bounds.width);
        key.WriteInteger(kSettings, "Height", bounds.height);
        key.WriteInteger(kSettings, "Left", bounds.left);
        key.WriteInteger(kSettings, "Top", bounds.top);
        key.WriteText(kSettings, "Style", StyleText(window.ResultsViewStyle()));
        for (int column = 0; column < 6; ++column)
            key.WriteInteger(kSettings, kResultsColumns[static_cast<std::size_t>(column)].name,
                             window.ResultsColumnWidth(column));
        for (int column = 0; column < 6; ++column)
            key.WriteInteger(kSettings, kSetupColumns[static_cast<std::size_t>(column)].name,
                             window.SetupColumnWidth(column));
    }
    key.Close();
}

}  // namespace kelvaro
