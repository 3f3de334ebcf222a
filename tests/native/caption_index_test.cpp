#include "widgets/caption_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

std::vector<std::string> Captions(const CaptionIndex& index) {
    std::vector<std::string> captions;
    for (int row = 0; row < index.Size(); ++row) captions.push_back(index.At(row).Caption);
    return captions;
}

// Keys in byte order stand in for the collation; the caption carries the arrival number, so that the
// order among equal keys shows.
TEST(CaptionIndex, FillingInSortedPlacesMatchesAStableSortAcrossManyBlocks) {
    std::mt19937 random(7);
    CaptionIndex index;
    std::vector<std::pair<std::string, int>> arrivals;
    for (int i = 0; i < 3000; ++i) {
        // Few distinct keys: many equal ones, each landing after those before it.
        std::string key = "k" + std::to_string(random() % 200);
        index.Insert(index.UpperBound(key), {key, std::to_string(i)});
        arrivals.emplace_back(key, i);
    }
    std::stable_sort(arrivals.begin(), arrivals.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ASSERT_EQ(index.Size(), 3000);
    for (int row = 0; row < index.Size(); ++row) {
        ASSERT_EQ(index.At(row).Key, arrivals[row].first) << row;
        ASSERT_EQ(index.At(row).Caption, std::to_string(arrivals[row].second)) << row;
    }
    EXPECT_EQ(index.UpperBound(""), 0);
    EXPECT_EQ(index.UpperBound("z"), 3000);
}

TEST(CaptionIndex, InsertsAndErasesAnywhereAsAPlainListWould) {
    std::mt19937 random(11);
    CaptionIndex index;
    std::vector<std::string> model;
    for (int step = 0; step < 6000; ++step) {
        // More insertions than erasures at first, then the other way round, down to empty.
        const bool insert = model.empty() || random() % 100 < (step < 4000 ? 70u : 20u);
        if (insert) {
            const int row = static_cast<int>(random() % (model.size() + 1));
            const std::string text = std::to_string(step);
            index.Insert(row, {text, text});
            model.insert(model.begin() + row, text);
        } else {
            const int row = static_cast<int>(random() % model.size());
            index.Erase(row);
            model.erase(model.begin() + row);
        }
        ASSERT_EQ(index.Size(), static_cast<int>(model.size()));
    }
    EXPECT_EQ(Captions(index), model);
    while (!model.empty()) {
        index.Erase(0);
        model.erase(model.begin());
    }
    EXPECT_EQ(index.Size(), 0);
    index.Insert(0, {"a", "a"});
    EXPECT_EQ(Captions(index), std::vector<std::string>{"a"});
}

TEST(CaptionIndex, RowsOutsideTheListAreRefusedAndClearEmptiesIt) {
    CaptionIndex index;
    EXPECT_THROW(index.At(0), std::out_of_range);
    EXPECT_THROW(index.Erase(0), std::out_of_range);
    EXPECT_THROW(index.Insert(1, {"a", "a"}), std::out_of_range);
    EXPECT_THROW(index.Insert(-1, {"a", "a"}), std::out_of_range);
    index.Insert(0, {"b", "b"});
    index.Insert(0, {"a", "a"});
    EXPECT_THROW(index.At(2), std::out_of_range);
    EXPECT_THROW(index.At(-1), std::out_of_range);
    EXPECT_EQ(Captions(index), (std::vector<std::string>{"a", "b"}));
    index.Clear();
    EXPECT_EQ(index.Size(), 0);
    EXPECT_EQ(index.UpperBound("a"), 0);
}

// Byte order of the captions, whatever the keys say.
class CaptionOrder : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override { return a.compare(b); }
};

TEST(CaptionIndex, ThePlaceTheKeysGiveStandsOnlyWhereTheCollationAgrees) {
    CaptionIndex captions;
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
    CaptionIndex empty;
    EXPECT_EQ(CaptionPlace(empty, "x", "y", order), 0);
}

// The batch must land exactly where adding its rows one by one puts them: checked against that, with
// keys that agree with the collation and with keys that do not.
std::vector<std::string> AddOneByOne(CaptionIndex index, const std::vector<CaptionIndex::Entry>& batch,
                                     const TextCollation& collation) {
    for (const auto& entry : batch)
        index.Insert(CaptionPlace(index, entry.Caption, entry.Key, collation), entry);
    return Captions(index);
}

std::vector<std::string> AddAsBatch(CaptionIndex index, const std::vector<CaptionIndex::Entry>& batch,
                                    const TextCollation& collation) {
    int previous = -1;
    for (const BatchPlace& place : BatchPlaces(index, batch, collation)) {
        EXPECT_GT(place.Row, previous);  // the insertion order goes down the list
        previous = place.Row;
        index.Insert(place.Row, batch[place.Index]);
    }
    return Captions(index);
}

// Orders by the text before "#" only, so equal captions differ in what they carry after it.
class PrefixOrder : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        return a.substr(0, a.find('#')).compare(b.substr(0, b.find('#')));
    }
};

TEST(CaptionIndex, ABatchLandsWhereAddingItsRowsOneByOneWould) {
    std::mt19937 random(11);
    const PrefixOrder order;
    for (bool keysAgree : {true, false}) {
        for (int existing : {0, 1, 700}) {
            CaptionIndex index;
            for (int i = 0; i < existing; ++i) {
                std::string caption = std::to_string(random() % 60) + "#old" + std::to_string(i);
                std::string key = caption.substr(0, caption.find('#'));
                index.Insert(CaptionPlace(index, caption, key, order), {key, caption});
            }
            std::vector<CaptionIndex::Entry> batch;
            for (int i = 0; i < 900; ++i) {
                std::string caption = std::to_string(random() % 60) + "#new" + std::to_string(i);
                // Disagreeing keys: a few sort as another caption would.
                std::string key = caption.substr(0, caption.find('#'));
                if (!keysAgree && i % 97 == 5) key = std::to_string(random() % 60);
                batch.push_back({key, caption});
            }
            EXPECT_EQ(AddAsBatch(index, batch, order), AddOneByOne(index, batch, order))
                << existing << (keysAgree ? " agreeing" : " disagreeing");
        }
    }
    // Equal captions whose keys differ, in the order that would put the later one first.
    CaptionIndex empty;
    const std::vector<CaptionIndex::Entry> twins{{"b", "x#first"}, {"a", "x#second"}};
    EXPECT_EQ(AddAsBatch(empty, twins, order), (std::vector<std::string>{"x#first", "x#second"}));
    EXPECT_TRUE(BatchPlaces(empty, {}, order).empty());
}

}  // namespace
}  // namespace kelvaro
