#include "rules/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

// One log for the registry's reads and writes and the window's changes, so that the order across both
// shows: "Settings\Width?" is a read, "Settings\Width=600" a write, "width=600" a change to the window.
using Log = std::vector<std::string>;

std::string LastPart(const std::string& path) {
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

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(const std::string& path, bool create) {
    if (!keys.count(path)) {
        if (!create || uncreatable.count(path)) return nullptr;
        keys[path];
    }
    return std::make_unique<MemoryKey>(*this, path);
}

std::string RowText(const RuleRow& row) {
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

RuleRow Rule(const std::string& tag) {
    return {"D:\\" + tag, {"*." + tag, "> 3 Days", "  ", "Yes", " "}};
}

// Both subkeys present, so that every read reaches a value or its absence and shows in the log.
MemoryRegistry WithSubkeys() {
    MemoryRegistry registry;
    registry.keys[kSettingsKey];
    registry.keys[MemoryRegistry::Sub("Settings")];
    registry.keys[MemoryRegistry::Sub("Files")];
    return registry;
}

TEST(SettingsStoreTest, LoadReadsAndAppliesInOrder) {
    Log log;
    MemoryRegistry registry = WithSubkeys();
    registry.log = &log;
    registry.Put("Settings", "Width", "600");
    registry.Put("Settings", "Style", "Small");
    registry.Put("Files", "Count", "1");
    registry.Put("Files", "Path1", "D:\\x");
    FakeWindow window(&log);
    LoadSettings(registry, window);
    const Log expected = {
        "Settings\\Recycle?",
        "recycle=1",
        "Settings\\Confirm?",
        "confirm=1",
        "ShowFlagState",
        "Settings\\Boot?",
        "boot=0",
        "Files\\Count?",
        "Settings\\Width?",
        "width=600",
        "Settings\\Top?",
        "top=50",
        "Settings\\Left?",
        "left=50",
        "Settings\\Height?",
        "height=300",
        "Settings\\Style?",
        "Settings\\Style?",
        "Settings\\Style?",
        "style=2",
        "Settings\\Style?",
        "Files\\Path1?",
        "Files\\Spec1?",
        "Files\\Age1?",
        "Files\\Size1?",
        "Files\\Sub1?",
        "Files\\Rmv1?",
        "rule D:\\x| | | | | ",
        "Settings\\ColumnA0?",
        "results0=140",
        "Settings\\ColumnA5?",
        "results1=40",
        "Settings\\ColumnA1?",
        "results2=170",
        "Settings\\ColumnA2?",
        "results3=80",
        "Settings\\ColumnA3?",
        "results4=60",
        "Settings\\ColumnA4?",
        "results5=60",
        "Settings\\ColumnB0?",
        "setup0=190",
        "Settings\\ColumnB1?",
        "setup1=80",
        "Settings\\ColumnB2?",
        "setup2=80",
        "Settings\\ColumnB3?",
        "setup3=80",
        "Settings\\ColumnB4?",
        "setup4=55",
        "Settings\\ColumnB5?",
        "setup5=50",
        "Settings\\Save?",
        "save=1",
        "Settings\\Office97?",
        "office97=1",
        "close",
        "ApplyButtonStyle",
    };
    EXPECT_EQ(log, expected);
}

TEST(SettingsStoreTest, SaveWritesInOrderAndTheExitTickGovernsOnlyGeometryStyleAndWidths) {
    FakeWindow window;
    window.recycle = true;
    window.save = true;
    window.bounds = {10, 20, 640, 480};
    window.style = ViewStyle::LargeIcons;
    window.resultsWidths = {100, 101, 102, 103, 104, 105};
    window.setupWidths = {200, 201, 202, 203, 204, -5};
    window.rules = {Rule("a")};
    Log log;
    MemoryRegistry registry;
    registry.log = &log;
    SaveSettings(registry, window);
    const Log expected = {
        "Settings\\Recycle=1",    "Settings\\Confirm=0",    "Settings\\Boot=1",
        "Settings\\Office97=0",   "Settings\\Save=1",       "Files\\Count=1",
        "Files\\Path1=D:\\a",     "Files\\Spec1=*.a",       "Files\\Age1=> 3 Days",
        "Files\\Size1=  ",        "Files\\Sub1=Yes",        "Files\\Rmv1= ",
        "Settings\\Width=640",    "Settings\\Height=480",   "Settings\\Left=10",
        "Settings\\Top=20",       "Settings\\Style=Large",  "Settings\\ColumnA0=100",
        "Settings\\ColumnA5=101", "Settings\\ColumnA1=102", "Settings\\ColumnA2=103",
        "Settings\\ColumnA3=104", "Settings\\ColumnA4=105", "Settings\\ColumnB0=200",
        "Settings\\ColumnB1=201", "Settings\\ColumnB2=202", "Settings\\ColumnB3=203",
        "Settings\\ColumnB4=204", "Settings\\ColumnB5=-5",  "close",
    };
    EXPECT_EQ(log, expected);

    // Unticked: flags, ticks and rules still go; the saved bounds, style and widths stay as they were.
    window.save = false;
    window.confirm = true;
    window.bounds = {0, 0, 1, 1};
    window.rules.push_back(Rule("b"));
    log.clear();
    SaveSettings(registry, window);
    EXPECT_EQ(registry.Get("Settings", "Confirm"), "1");
    EXPECT_EQ(registry.Get("Settings", "Save"), "0");
    EXPECT_EQ(registry.Get("Files", "Count"), "2");
    EXPECT_EQ(registry.Get("Files", "Rmv2"), " ");
    EXPECT_EQ(registry.Get("Settings", "Width"), "640");
    EXPECT_EQ(log.back(), "close");
    EXPECT_EQ(log[log.size() - 2], "Files\\Rmv2= ");

    // The load puts every width back into the column it came from.
    FakeWindow loaded;
    LoadSettings(registry, loaded);
    EXPECT_EQ(loaded.resultsWidths, (std::array<int, 6>{100, 101, 102, 103, 104, 105}));
    EXPECT_EQ(loaded.setupWidths, (std::array<int, 6>{200, 201, 202, 203, 204, -5}));
}

// The other defaults show in LoadReadsAndAppliesInOrder.
TEST(SettingsStoreTest, FirstStartUsesDefaultsAndMakesOnlyTheSettingsKeyUntilTheFirstClose) {
    MemoryRegistry registry;
    FakeWindow window;
    LoadSettings(registry, window);
    EXPECT_EQ(window.bounds.width, 549);
    EXPECT_EQ(window.applied, std::vector<ViewStyle>{ViewStyle::Report});
    EXPECT_TRUE(window.rules.empty());
    ASSERT_EQ(registry.keys.size(), 1u);
    EXPECT_EQ(registry.keys.begin()->first, "Software\\Tarnwell\\Kelvaro");

    SaveSettings(registry, window);
    EXPECT_EQ(registry.keys.size(), 3u);
    EXPECT_EQ(registry.Get("Files", "Count"), "0");
}

TEST(SettingsStoreTest, IntegersReadHexadecimalAndFallBackToTheirDefault) {
    const struct {
        std::string text;
        int width;
    } cases[] = {
        {"0x200", 512},
        {"0X200", 512},
        {"$200", 512},
        {"abc", 549},
        {"", 549},
        {"0x", 549},
        {"0x-5", 549},
        {"-0x10", 549},
        {"+$10", 16},
        {" 640", 640},
        {"640 ", 549},
        {"-7", -7},
        {"0xFFFFFFFF", 549},
        {std::string("7\0"
                     "00",
                     4),
         7},
        {"99999999999", 549},
    };
    for (const auto& c : cases) {
        for (RegistryValueType type : {RegistryValueType::String, RegistryValueType::ExpandString}) {
            MemoryRegistry registry;
            registry.Put("Settings", "Width", c.text, type);
            FakeWindow window;
            LoadSettings(registry, window);
            EXPECT_EQ(window.bounds.width, c.width) << '"' << c.text << '"';
        }
    }
}

TEST(SettingsStoreTest, BooleansAreNonZeroIntegersAndAreWrittenBackAsZeroOrOne) {
    const struct {
        const char* name;
        bool FakeWindow::*field;
        const char* text;
        bool value;
    } cases[] = {
        {"Confirm", &FakeWindow::confirm, "2", true},   {"Confirm", &FakeWindow::confirm, "0x0", false},
        {"Confirm", &FakeWindow::confirm, "abc", true}, {"Recycle", &FakeWindow::recycle, "-1", true},
        {"Boot", &FakeWindow::boot, "abc", false},      {"Boot", &FakeWindow::boot, "0x10", true},
    };
    for (const auto& c : cases) {
        MemoryRegistry registry;
        registry.Put("Settings", c.name, c.text);
        FakeWindow window;
        LoadSettings(registry, window);
        EXPECT_EQ(window.*c.field, c.value) << c.name << '=' << c.text;
        SaveSettings(registry, window);
        EXPECT_EQ(registry.Get("Settings", c.name), c.value ? "1" : "0") << c.name << '=' << c.text;
    }
}

TEST(SettingsStoreTest, StyleIsComparedExactlyAndSavedByName) {
    const struct {
        const char* stored;
        std::vector<ViewStyle> applied;
    } cases[] = {
        {"Report", {ViewStyle::Report}},
        {"List", {ViewStyle::List}},
        {"Small", {ViewStyle::SmallIcons}},
        {"Large", {ViewStyle::LargeIcons}},
        {"report", {}},
        {"Large ", {}},
        {"", {}},
        {"SmallIcons", {}},
    };
    for (const auto& c : cases) {
        MemoryRegistry registry;
        registry.Put("Settings", "Style", c.stored);
        FakeWindow window;
        window.style = ViewStyle::List;  // an unmatched text must leave the current style alone
        LoadSettings(registry, window);
        EXPECT_EQ(window.applied, c.applied) << c.stored;
        window.save = true;
        SaveSettings(registry, window);
        EXPECT_EQ(registry.Get("Settings", "Style"), c.applied.empty() ? "List" : c.stored) << c.stored;
    }
}

TEST(SettingsStoreTest, RuleTextsAreTakenUnchangedWithDefaultsForMissingValues) {
    MemoryRegistry registry;
    registry.Put("Files", "Count", "3");
    registry.Put("Files", "Path1", std::string("E:\\Temp\0junk", 12));
    registry.Put("Files", "Spec1", "%TEMP%\\*.~*", RegistryValueType::ExpandString);
    registry.Put("Files", "Size1", ">=12 KBytes");
    registry.Put("Files", "Sub1", "");
    registry.Put("Files", "Rmv1", "Yes");
    registry.Put("Files", "Path3", "\xe9t\xe9");
    registry.Put("Files", "Path4", "never read");
    FakeWindow window;
    LoadSettings(registry, window);
    ASSERT_EQ(window.rules.size(), 3u);
    EXPECT_EQ(RowText(window.rules[0]), "E:\\Temp|%TEMP%\\*.~*| |>=12 KBytes||Yes");
    EXPECT_EQ(RowText(window.rules[1]), "C:\\| | | | | ");
    EXPECT_EQ(RowText(window.rules[2]), "\xe9t\xe9| | | | | ");
}

TEST(SettingsStoreTest, ShrunkenListLeavesStaleRulesThatAreNeverLoaded) {
    MemoryRegistry registry;
    FakeWindow window;
    window.rules = {Rule("1"), Rule("2"), Rule("3"), Rule("4"), Rule("5")};
    SaveSettings(registry, window);
    window.rules.resize(2);
    SaveSettings(registry, window);
    EXPECT_EQ(registry.Get("Files", "Count"), "2");
    EXPECT_EQ(registry.Get("Files", "Path3"), "D:\\3");
    EXPECT_EQ(registry.Get("Files", "Rmv5"), " ");
    FakeWindow loaded;
    LoadSettings(registry, loaded);
    ASSERT_EQ(loaded.rules.size(), 2u);
    EXPECT_EQ(RowText(loaded.rules[1]), RowText(Rule("2")));
}

TEST(SettingsStoreTest, RuleCountIsExactUpToABound) {
    const struct {
        const char* count;
        std::size_t rules;
    } cases[] = {
        {"0", 0},         {"9999", 9999},        {"10000", 10000},
        {"10001", 10000}, {"2000000000", 10000}, {"$7FFFFFFF", 10000},
    };
    for (const auto& c : cases) {
        MemoryRegistry registry;
        registry.Put("Files", "Count", c.count);
        FakeWindow window;
        LoadSettings(registry, window);
        EXPECT_EQ(window.rules.size(), c.rules) << c.count;
    }
}

// Every value stored, none of them at its default.
MemoryRegistry EveryValueStored() {
    MemoryRegistry registry = WithSubkeys();
    const char* settings[][2] = {
        {"Recycle", "0"}, {"Confirm", "0"},  {"Boot", "1"},  {"Office97", "0"}, {"Save", "1"},
        {"Width", "600"}, {"Height", "350"}, {"Left", "70"}, {"Top", "80"},     {"Style", "Small"},
    };
    for (const auto& [name, text] : settings) registry.Put("Settings", name, text);
    for (int n = 0; n < 6; ++n) {
        registry.Put("Settings", "ColumnA" + std::to_string(n), std::to_string(101 + n));
        registry.Put("Settings", "ColumnB" + std::to_string(n), std::to_string(111 + n));
    }
    registry.Put("Files", "Count", "2");
    for (const std::string n : {"1", "2"}) {
        for (const char* name : {"Path", "Spec", "Age", "Size", "Sub", "Rmv"})
            registry.Put("Files", name + n, name + n);
    }
    return registry;
}

// A damaged value reads as a missing one would, the load goes on to its end and only then names the
// first damaged value; the save then writes every other value back as it was stored.
TEST(SettingsStoreTest, AValueOfAnotherTypeTakesItsDefaultAndCostsNoOtherValue) {
    const MemoryRegistry prepared = EveryValueStored();
    std::size_t tried = 0;
    for (const auto& [path, values] : prepared.keys) {
        const std::string subkey = LastPart(path);
        for (const auto& [name, value] : values) {
            SCOPED_TRACE(name);
            if (name == "Count") continue;  // a damaged count is not a missing one: see below
            ++tried;
            MemoryRegistry missing = prepared;
            missing.keys[path].erase(name);
            Log expected;
            missing.log = &expected;
            FakeWindow reference(&expected);
            LoadSettings(missing, reference);

            MemoryRegistry damaged = prepared;
            damaged.Put(subkey, name, "1", RegistryValueType::Other);
            Log log;
            damaged.log = &log;
            FakeWindow window(&log);
            try {
                LoadSettings(damaged, window);
                ADD_FAILURE() << "no error";
            } catch (const ERegistryException& e) {
                EXPECT_EQ(e.Message(), "Invalid data type for '" + name + "'");
            }
            EXPECT_EQ(log, expected);

            missing.log = damaged.log = nullptr;
            SaveSettings(missing, reference);
            SaveSettings(damaged, window);
            for (const auto& [otherPath, otherValues] : prepared.keys) {
                for (const auto& [other, stored] : otherValues) {
                    const std::string expectedText = other == name ? missing.Get(subkey, name) : stored.data;
                    EXPECT_EQ(damaged.Get(LastPart(otherPath), other), expectedText) << other;
                }
            }
        }
    }
    EXPECT_EQ(tried, 34u);

    MemoryRegistry twice = EveryValueStored();
    twice.Put("Files", "Rmv2", "", RegistryValueType::Other);
    twice.Put("Settings", "Boot", "", RegistryValueType::Other);
    FakeWindow window;
    try {
        LoadSettings(twice, window);
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Boot'");
    }
}

// A "Count" that cannot be read hides no rule: the load takes them up to the first missing location, and
// the save at close writes them back under a count of their own, so that a rule added joins them instead
// of taking the place of rule 1.
TEST(SettingsStoreTest, AnUnreadableCountLoadsTheRulesUpToTheFirstGap) {
    const struct {
        RegistryValueType type;
        const char* text;
    } unreadable[] = {
        {RegistryValueType::Other, "3"},         {RegistryValueType::String, "abc"},
        {RegistryValueType::String, ""},         {RegistryValueType::String, "-5"},
        {RegistryValueType::ExpandString, "0x"},
    };
    for (const auto& c : unreadable) {
        SCOPED_TRACE(c.text);
        MemoryRegistry registry = EveryValueStored();
        registry.Put("Files", "Count", c.text, c.type);
        registry.Put("Files", "Path4", "after the gap");
        FakeWindow window;
        try {
            LoadSettings(registry, window);
            EXPECT_NE(c.type, RegistryValueType::Other) << "no error";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), "Invalid data type for 'Count'");
        }
        ASSERT_EQ(window.rules.size(), 2u);
        EXPECT_EQ(RowText(window.rules[1]), "Path2|Spec2|Age2|Size2|Sub2|Rmv2");

        window.rules.push_back(Rule("new"));
        SaveSettings(registry, window);
        EXPECT_EQ(registry.Get("Files", "Count"), "3");
        EXPECT_EQ(registry.Get("Files", "Path1"), "Path1");
        EXPECT_EQ(registry.Get("Files", "Path3"), "D:\\new");
    }

    // The same bound as a count read in full.
    MemoryRegistry many;
    many.Put("Files", "Count", "many");
    for (int n = 1; n <= 10001; ++n) many.Put("Files", "Path" + std::to_string(n), "x");
    FakeWindow window;
    LoadSettings(many, window);
    EXPECT_EQ(window.rules.size(), 10000u);
}

TEST(SettingsStoreTest, SaveStopsAtTheKeyOrValueItCannotWrite) {
    const struct {
        const char* uncreatable;  // below the settings key; "" for the settings key itself, nullptr for none
        const char* unwritable;
        const char* message;
        const char* lastWritten;
    } cases[] = {
        {"", "", "Failed to create key Settings", nullptr},
        {"Files", "", "Failed to create key Files", "Settings\\Save=1"},
        {nullptr, "Spec2", "Failed to set data for 'Spec2'", "Files\\Path2=D:\\b"},
        {nullptr, "Top", "Failed to set data for 'Top'", "Settings\\Left=1"},
    };
    for (const auto& c : cases) {
        Log log;
        MemoryRegistry registry;
        registry.log = &log;
        if (c.uncreatable)
            registry.uncreatable.insert(*c.uncreatable ? MemoryRegistry::Sub(c.uncreatable) : kSettingsKey);
        registry.unwritable.insert(c.unwritable);
        FakeWindow window;
        window.save = true;
        window.rules = {Rule("a"), Rule("b")};
        try {
            SaveSettings(registry, window);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        if (!c.lastWritten) {
            EXPECT_TRUE(log.empty()) << c.message;
            continue;
        }
        ASSERT_GE(log.size(), 2u) << c.message;
        EXPECT_EQ(log[log.size() - 2], c.lastWritten);
        EXPECT_EQ(log.back(), "close");
    }
}

}  // namespace
}  // namespace kelvaro
