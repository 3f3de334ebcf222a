#pragma once
// The registry and the settings window as in-memory stand-ins, for the settings store's tests and its fuzz
// target.
#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "rules/settings_store.h"
#include "rules/settings_window.h"

namespace kelvaro::testing {

// One log for the registry's reads and writes and the window's changes, so that the order across both
// shows: "Settings\Width?" is a read, "Settings\Width=600" a write, "width=600" a change to the window.
using Log = std::vector<std::string>;

inline std::string LastPart(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}

class MemoryRegistry : public Registry {
public:
    std::map<std::string, std::map<std::string, RegistryValue>> keys;  // full path -> values
    std::set<std::string> uncreatable;                                 // full paths
    std::set<std::string> unwritable;                                  // value names
    Log* log = nullptr;

    std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override;
    // The store never opens a key for reading only.
    std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string&) override { return nullptr; }

    static std::string Sub(const std::string& name) { return kSettingsKey + "\\" + name; }
    void Put(const std::string& subkey, const std::string& name, const std::string& data,
             RegistryValueType type = RegistryValueType::String) {
        keys[Sub(subkey)][name] = {type, data};
    }
    // The stored text, or "<missing>".
    std::string Get(const std::string& subkey, const std::string& name) const {
        auto key = keys.find(Sub(subkey));
        if (key == keys.end() || !key->second.count(name)) return "<missing>";
        return key->second.at(name).data;
    }
    void Note(const std::string& entry) const {
        if (log) log->push_back(entry);
    }
};

class MemoryKey : public RegistryKey {
public:
    MemoryKey(MemoryRegistry& registry, std::string path) : registry_(registry), path_(std::move(path)) {}
    ~MemoryKey() override {
        if (path_ == kSettingsKey) registry_.Note("close");
    }
    std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
        return registry_.OpenKey(path_ + "\\" + path, create);
    }
    RegistryValue ReadValue(const std::string& name) override {
        registry_.Note(LastPart(path_) + "\\" + name + "?");
        auto& values = registry_.keys.at(path_);
        return values.count(name) ? values.at(name) : RegistryValue{};
    }
    bool WriteString(const std::string& name, const std::string& text) override {
        if (registry_.unwritable.count(name)) return false;
        registry_.Note(LastPart(path_) + "\\" + name + "=" + text);
        registry_.keys.at(path_)[name] = {RegistryValueType::String, text};
        return true;
    }

private:
    MemoryRegistry& registry_;
    std::string path_;
};

inline std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(const std::string& path, bool create) {
    if (!keys.count(path)) {
        if (!create || uncreatable.count(path)) return nullptr;
        keys[path];
    }
    return std::make_unique<MemoryKey>(*this, path);
}

inline std::string RowText(const RuleRow& row) {
    std::string text = row.Caption;
    for (const std::string& cell : row.SubItems) text += "|" + cell;
    return text;
}

// Starts in a design state that no load default matches, so that an unapplied step shows.
class FakeWindow : public SettingsWindow {
public:
    explicit FakeWindow(Log* log = nullptr) : log_(log) {}

    bool confirm = false, recycle = false, boot = true, save = false, office97 = false;
    WindowBounds bounds{1, 2, 3, 4};
    ViewStyle style = ViewStyle::Report;
    std::vector<ViewStyle> applied;  // every style applied, in order
    std::array<int, 6> resultsWidths{}, setupWidths{};
    std::vector<RuleRow> rules;

    bool ConfirmDelete() const override { return confirm; }
    bool UseRecycleBin() const override { return recycle; }
    void SetConfirmDelete(bool value) override { Note("confirm=", confirm = value); }
    void SetUseRecycleBin(bool value) override { Note("recycle=", recycle = value); }
    void ShowFlagState() override { Note("ShowFlagState"); }
    bool RunAtBootTick() const override { return boot; }
    bool SaveOnExitTick() const override { return save; }
    bool Office97Tick() const override { return office97; }
    void SetRunAtBootTick(bool ticked) override { Note("boot=", boot = ticked); }
    void SetSaveOnExitTick(bool ticked) override { Note("save=", save = ticked); }
    void SetOffice97Tick(bool ticked) override { Note("office97=", office97 = ticked); }
    WindowBounds Bounds() const override { return bounds; }
    void SetWidth(int width) override { Note("width=", bounds.width = width); }
    void SetTop(int top) override { Note("top=", bounds.top = top); }
    void SetLeft(int left) override { Note("left=", bounds.left = left); }
    void SetHeight(int height) override { Note("height=", bounds.height = height); }
    ViewStyle ResultsViewStyle() const override { return style; }
    void ApplyResultsViewStyle(ViewStyle value) override {
        applied.push_back(style = value);
        Note("style=", static_cast<int>(value));
    }
    int ResultsColumnWidth(int column) const override { return resultsWidths.at(column); }
    int SetupColumnWidth(int column) const override { return setupWidths.at(column); }
    void SetResultsColumnWidth(int column, int width) override {
        Note("results" + std::to_string(column) + "=", resultsWidths.at(column) = width);
    }
    void SetSetupColumnWidth(int column, int width) override {
        Note("setup" + std::to_string(column) + "=", setupWidths.at(column) = width);
    }
    int RuleCount() const override { return static_cast<int>(rules.size()); }
    RuleRow Rule(int index) const override { return rules.at(index); }
    void AppendRule(const RuleRow& row) override {
        rules.push_back(row);
        Note("rule " + RowText(row));
    }
    void ApplyButtonStyle() override { Note("ApplyButtonStyle"); }

private:
    void Note(const std::string& what, int value) { Note(what + std::to_string(value)); }
    void Note(const std::string& what) {
        if (log_) log_->push_back(what);
    }
    Log* log_;
};

}  // namespace kelvaro::testing
