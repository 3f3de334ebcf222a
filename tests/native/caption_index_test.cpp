#include "widgets/caption_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

// Captions with their keys in a plain list.
class CaptionList : public CaptionKeys {
public:
    struct Entry {
        std::string Key, Caption;
    };
    int Size() const override { return static_cast<int>(entries.size()); }
    std::string_view Key(int row) const override { return entries[static_cast<std::size_t>(row)].Key; }
    std::string Caption(int row) const override { return entries[static_cast<std::size_t>(row)].Caption; }
    void Insert(int row, Entry entry) { entries.insert(entries.begin() + row, std::move(entry)); }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const Entry& entry : entries) captions.push_back(entry.Caption);
        return captions;
    }

    std::vector<Entry> entries;
};

// Byte order of the captions, whatever the keys say.
class CaptionOrder : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override { return a.compare(b); }
};

TEST(CaptionPlaces, ThePlaceTheKeysGiveStandsOnlyWhereTheCollationAgrees) {
    CaptionList captions;
    for (const char* caption : {"a", "c", "e", "g"}) captions.Insert(captions.Size(), {caption, caption});
    const CaptionOrder order;
    // Agreeing key: its place stands, after an equal caption.
    EXPECT_EQ(CaptionPlace(captions, "c", "c", order), 2);
    EXPECT_EQ(CaptionPlace(captions, "d", "d", order), 2);
    EXPECT_EQ(CaptionPlace(captions, "0", "0", order), 0);
    EXPECT_EQ(CaptionPlace(captions, "h", "h", order), 4);
    // A key that sorts elsewhere than its caption: the collation decides.
    EXPECT_EQ(CaptionPlace(captions, "f", "b", order), 3);
    EXPECT_EQ(CaptionPlace(captions, "b", "z", order), 1);
    EXPECT_EQ(CaptionPlace(captions, "z", "", order), 4);
    CaptionList empty;
    EXPECT_EQ(CaptionPlace(empty, "x", "y", order), 0);
}

// The batch must land exactly where adding its rows one by one puts them: checked against that, with
// keys that agree with the collation and with keys that do not.
std::vector<std::string> AddOneByOne(CaptionList index, const std::vector<CaptionList::Entry>& batch,
                                     const TextCollation& collation, bool exact) {
    for (const auto& entry : batch)
        index.Insert(CaptionPlace(index, entry.Caption, entry.Key, collation, exact), entry);
    return index.Captions();
}

std::vector<std::string> AddAsBatch(CaptionList index, const std::vector<CaptionList::Entry>& batch,
                                    const TextCollation& collation, bool exact = false) {
    int previous = -1;
    CaptionList added;
    added.entries = batch;
    for (const BatchPlace& place : BatchPlaces(index, added, collation, exact)) {
        EXPECT_GT(place.Row, previous);  // the insertion order goes down the list
        previous = place.Row;
        index.Insert(place.Row, batch[place.Index]);
    }
    return index.Captions();
}

// Orders by the text before "#" only, so equal captions differ in what they carry after it.
class PrefixOrder : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        return a.substr(0, a.find('#')).compare(b.substr(0, b.find('#')));
    }
};

TEST(CaptionPlaces, ABatchLandsWhereAddingItsRowsOneByOneWould) {
    std::mt19937 random(11);
    const PrefixOrder order;
    // Exact keys (the prefix is all the order looks at) are trusted without a word to the collation: a
    // large batch walks down the list, a small one searches it row by row.
    for (const auto& [keysAgree, exact] :
         {std::pair(true, false), std::pair(false, false), std::pair(true, true)}) {
        for (const auto& [existing, size] :
             {std::pair(0, 900), std::pair(1, 900), std::pair(700, 900), std::pair(700, 5)}) {
            CaptionList index;
            for (int i = 0; i < existing; ++i) {
                std::string caption = std::to_string(random() % 60) + "#old" + std::to_string(i);
                std::string key = caption.substr(0, caption.find('#'));
                index.Insert(CaptionPlace(index, caption, key, order), {key, caption});
            }
            std::vector<CaptionList::Entry> batch;
            for (int i = 0; i < size; ++i) {
                std::string caption = std::to_string(random() % 60) + "#new" + std::to_string(i);
                // Disagreeing keys: a few sort as another caption would.
                std::string key = caption.substr(0, caption.find('#'));
                if (!keysAgree && i % 97 == 5) key = std::to_string(random() % 60);
                batch.push_back({key, caption});
            }
            EXPECT_EQ(AddAsBatch(index, batch, order, exact), AddOneByOne(index, batch, order, false))
                << existing << (keysAgree ? " agreeing" : " disagreeing") << (exact ? " exact" : "");
        }
    }
    // Equal captions whose keys differ, in the order that would put the later one first.
    CaptionList empty;
    const std::vector<CaptionList::Entry> twins{{"b", "x#first"}, {"a", "x#second"}};
    EXPECT_EQ(AddAsBatch(empty, twins, order), (std::vector<std::string>{"x#first", "x#second"}));
    EXPECT_TRUE(BatchPlaces(empty, CaptionList{}, order).empty());
}

}  // namespace
}  // namespace kelvaro
