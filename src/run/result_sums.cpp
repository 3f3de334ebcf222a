#include "run/result_sums.h"

namespace kelvaro {

void ResultSums::Reset() {
    selected_ = total_ = 0;
    valid_ = true;
}

void ResultSums::SelectionChanged(std::int64_t bytes, bool nowSelected) {
    selected_ += nowSelected ? bytes : -bytes;
}

void ResultSums::AllSelectionChanged(bool nowSelected) {
    selected_ = nowSelected ? total_ : 0;
}

void ResultSums::Deleted(std::int64_t bytes, bool wasSelected) {
    total_ -= bytes;
    if (wasSelected) selected_ -= bytes;
}

void ResultSums::RecountIfNeeded(const DeletionRows& rows) {
    if (valid_) return;
    selected_ = total_ = 0;
    for (int row = 0; row < rows.RowCount(); ++row) {
        total_ += rows.ByteCount(row);
        if (rows.IsSelected(row)) selected_ += rows.ByteCount(row);
    }
    valid_ = true;
}

}  // namespace kelvaro
