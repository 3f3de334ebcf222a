#pragma once
// The byte sums of the results list, kept in step with what the list reports as rows come, go and
// change selection, so that selecting or deleting many rows does not sum the whole list at each change.
#include <cstdint>

#include "run/deletion.h"

namespace kelvaro {

class ResultSums {
public:
    // The list was emptied and the sums with it (a run starts).
    void Reset();
    void Added(std::int64_t bytes) { total_ += bytes; }
    void SelectionChanged(std::int64_t bytes, bool nowSelected);
    // Every row selected (Ctrl+A) or none: the selected sum is the total or nothing, without a count.
    void AllSelectionChanged(bool nowSelected);
    void Deleted(std::int64_t bytes, bool wasSelected);
    // A change the sums cannot follow row by row (every row at once, or a clear): recount when next asked.
    // Until then the changes above need not be reported; the recount sees them.
    void Invalidate() { valid_ = false; }
    bool Valid() const { return valid_; }
    // Sums the rows again when a change could not be followed.
    void RecountIfNeeded(const DeletionRows& rows);
    std::int64_t SelectedBytes() const { return selected_; }
    std::int64_t TotalBytes() const { return total_; }

private:
    std::int64_t selected_ = 0;
    std::int64_t total_ = 0;
    bool valid_ = true;
};

}  // namespace kelvaro
