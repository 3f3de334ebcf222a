#pragma once
// The protected folders and file specifications kept between runs, under the settings key's "Protected"
// subkey: "Count" and "Item1", "Item2"... all strings, as the rules are kept under "Files".
//
// A damaged list (a value of another type, a count that is not a whole number of 0 or more, an item the
// count names that is missing) is read as far as it can be, so the dialog shows and saves back every item
// that can be read. A run never searches past it: an item that cannot be read might be the one protecting
// what the run would list, so the run stops with the damage named until the list is saved again.
#include <string>
#include <vector>

#include "platform/registry.h"
#include "rules/settings_store.h"

namespace kelvaro {

struct StoredProtection {
    std::vector<std::string> items;  // every item that could be read, in order
    std::string damage;              // what could not be read, "" when nothing
};

// A missing key or a missing "Count" with no "Item1" is an empty list. A damaged "Count" reads the items up
// to the first one missing.
StoredProtection LoadProtectedItems(Registry& registry, const std::string& keyPath = kSettingsKey);
// The items of a run; throws Exception naming the damage when the list is damaged.
std::vector<std::string> LoadProtectedItemsForRun(Registry& registry,
                                                  const std::string& keyPath = kSettingsKey);
// Writes "Count" first, then the items, so that a write failing halfway leaves items missing, which stops
// runs, rather than a count that leaves new items unread. Items beyond the new count are left in place;
// nothing reads past "Count". Throws ERegistryException at the first key or value that cannot be written.
void SaveProtectedItems(Registry& registry, const std::vector<std::string>& items,
                        const std::string& keyPath = kSettingsKey);

}  // namespace kelvaro
