#include "rules/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "native/settings_fakes.h"

namespace kelvaro {
namespace {

using testing::FakeWindow;
using testing::LastPart;
using testing::Log;
using testing::MemoryRegistry;
using testing::RowText;

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
