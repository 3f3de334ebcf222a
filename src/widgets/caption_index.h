#pragma once
// The captions of a list in row order, each with its collation key (whose byte order is the caption's
// sort order), so that a new row's place in caption order is found without asking the list control.
// Kept in blocks of a few hundred entries: an insertion or deletion moves one block's entries, not the
// whole list's, and filling a list of n rows costs about n log n, not n squared.
#include <string>
#include <vector>

#include "widgets/list_sort.h"

namespace kelvaro {

class CaptionIndex {
public:
    struct Entry {
        std::string Key;
        std::string Caption;
    };

    int Size() const { return size_; }
    const Entry& At(int row) const;
    // The first row whose key sorts after key in byte order: where a row with that key goes after
    // every equal one.
    int UpperBound(const std::string& key) const;
    void Insert(int row, Entry entry);
    void Erase(int row);
    void Clear();

private:
    // The block holding row, and row's place in it; an insertion may point one past the last entry.
    struct Place {
        int Block;
        int Offset;
    };
    Place Locate(int row) const;

    std::vector<std::vector<Entry>> blocks_;
    int size_ = 0;
};

// Where a row with this caption goes in captions kept in collation order, after every equal caption.
// The keys only stand in for the collation: the place they give is confirmed by comparing the caption
// with its two neighbours, and where the keys and the collation disagree, a binary search by the
// collation itself decides.
int CaptionPlace(const CaptionIndex& captions, const std::string& caption, const std::string& key,
                 const TextCollation& collation);

// Where a batch of new rows goes when they join captions kept in collation order: the same places as
// adding them one after another in the batch's order, each after every equal caption already there or
// added before it. Returned in the order to insert them (each Row counts the new rows inserted before
// it), one per entry of the batch, whose Index names it. The keys stand in for the collation as in
// CaptionPlace: sorting by key stands only where the collation confirms every neighbour.
struct BatchPlace {
    std::size_t Index;
    int Row;
};
std::vector<BatchPlace> BatchPlaces(const CaptionIndex& captions,
                                    const std::vector<CaptionIndex::Entry>& batch,
                                    const TextCollation& collation);

}  // namespace kelvaro
