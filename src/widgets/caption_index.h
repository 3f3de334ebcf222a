#pragma once
// Where new rows go in a list kept in caption order, found by the captions' collation keys (whose byte
// order stands in for the captions' order) rather than by asking the collation about every row: a binary
// search by key, confirmed by the collation at the place found.
#include <string>
#include <string_view>
#include <vector>

#include "widgets/list_sort.h"

namespace kelvaro {

// Captions with their collation keys, by row.
class CaptionKeys {
public:
    virtual ~CaptionKeys() = default;
    virtual int Size() const = 0;
    virtual std::string_view Key(int row) const = 0;
    virtual std::string Caption(int row) const = 0;
};

// Where a row with this caption goes in captions kept in collation order, after every equal caption.
// Unless the keys are exact, they only stand in for the collation: the place they give is confirmed by
// comparing the caption with its two neighbours, and where the keys and the collation disagree, a binary
// search by the collation itself decides.
int CaptionPlace(const CaptionKeys& captions, const std::string& caption, std::string_view key,
                 const TextCollation& collation, bool exact = false);

// Where a batch of new rows goes when they join captions kept in collation order: the same places as
// adding them one after another in the batch's order, each after every equal caption already there or
// added before it. Returned in the order to insert them (each Row counts the new rows inserted before
// it), one per row of the batch, whose Index names it. The keys stand in for the collation as in
// CaptionPlace: unless they are exact, sorting by key stands only where the collation confirms every
// neighbour.
struct BatchPlace {
    std::size_t Index;
    int Row;
};
std::vector<BatchPlace> BatchPlaces(const CaptionKeys& captions, const CaptionKeys& batch,
                                    const TextCollation& collation, bool exact = false);

}  // namespace kelvaro
