// The protected list in the registry: what a load gives for each stored state, and what a save leaves.
#include "rules/protected_store.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "settings_fakes.h"

namespace kelvaro::testing {
namespace {

using Items = std::vector<std::string>;
constexpr auto kOther = RegistryValueType::Other;

struct Value {
    const char* name;
    const char* data;
    RegistryValueType type = RegistryValueType::String;
};

TEST(ProtectedStoreTest, ADamagedListShowsEveryItemThatCanBeReadAndStopsARun) {
    const struct {
        const char* why;
        std::vector<Value> values;
        Items items;
        bool damaged;
    } cases[] = {
        {"no key", {}, {}, false},
        {"stored list",
         {{"Count", "2"}, {"Item1", "C:\\Keep"}, {"Item2", "*.docx"}, {"Item3", "old"}},
         {"C:\\Keep", "*.docx"},
         false},
        {"empty list", {{"Count", "0"}, {"Item1", "old"}}, {}, false},
        {"count missing, no items", {{"Other", "x"}}, {}, false},
        {"count missing", {{"Item1", "C:\\Keep"}, {"Item2", "*.db"}}, {"C:\\Keep", "*.db"}, true},
        {"count not a number", {{"Count", "two"}, {"Item1", "C:\\Keep"}}, {"C:\\Keep"}, true},
        {"count negative", {{"Count", "-1"}, {"Item1", "C:\\Keep"}}, {"C:\\Keep"}, true},
        {"count of another type", {{"Count", "\x02", kOther}, {"Item1", "C:\\Keep"}}, {"C:\\Keep"}, true},
        {"item missing", {{"Count", "3"}, {"Item1", "a"}, {"Item3", "c"}}, {"a", "c"}, true},
        {"item of another type",
         {{"Count", "3"}, {"Item1", "a"}, {"Item2", "b", kOther}, {"Item3", "c"}},
         {"a", "c"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        MemoryRegistry registry;
        for (const Value& value : c.values) registry.Put("Protected", value.name, value.data, value.type);
        const StoredProtection stored = LoadProtectedItems(registry);
        EXPECT_EQ(stored.items, c.items);
        EXPECT_EQ(!stored.damage.empty(), c.damaged) << stored.damage;
        if (c.damaged)
            EXPECT_THROW(LoadProtectedItemsForRun(registry), Exception);
        else
            EXPECT_EQ(LoadProtectedItemsForRun(registry), c.items);
    }
}

TEST(ProtectedStoreTest, ASaveIsReadBackAndOneThatFailsHalfwayStopsRuns) {
    MemoryRegistry registry;
    registry.Put("Files", "Count", "4");
    SaveProtectedItems(registry, {"C:\\Keep", "*.docx", "C:\\Data\\*.db"});
    SaveProtectedItems(registry, {"C:\\Keep", "Thumbs.db"});
    EXPECT_EQ(LoadProtectedItemsForRun(registry), (Items{"C:\\Keep", "Thumbs.db"}));
    EXPECT_EQ(registry.Get("Protected", "Item3"), "C:\\Data\\*.db");
    EXPECT_EQ(registry.Get("Files", "Count"), "4");

    // The new count is written before the item that fails: the item is missing, never left unread.
    MemoryRegistry failing;
    failing.Put("Protected", "Count", "1");
    failing.Put("Protected", "Item1", "C:\\Keep");
    failing.unwritable.insert("Item2");
    EXPECT_THROW(SaveProtectedItems(failing, {"C:\\Keep", "*.docx"}), ERegistryException);
    EXPECT_THROW(LoadProtectedItemsForRun(failing), Exception);
}

}  // namespace
}  // namespace kelvaro::testing
