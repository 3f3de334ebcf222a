// The results list's byte sums followed change by change, and counted again after a clear.
#include "run/result_sums.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kelvaro::testing {
namespace {

// Rows as byte count and selection; nothing else is asked of them here.
class SizedRows : public DeletionRows {
public:
    std::vector<std::pair<std::int64_t, bool>> rows;
    int RowCount() const override { return static_cast<int>(rows.size()); }
    bool IsSelected(int row) const override { return rows[row].second; }
    std::int64_t ByteCount(int row) const override { return rows[row].first; }
    ListedFile Listed(int) const override { return {}; }
    void RemoveRows(const std::vector<std::uint64_t>&) override {}
};

TEST(ResultSums, SelectionAndDeletesMoveTheSumsOfTheRowsConcerned) {
    ResultSums sums;
    sums.Added(100);
    sums.Added(20);
    sums.Added(3);
    sums.SelectionChanged(100, true);
    sums.SelectionChanged(20, true);
    sums.SelectionChanged(100, false);
    EXPECT_EQ(sums.SelectedBytes(), 20);
    sums.Deleted(20, true);  // a selected row goes: both sums lose it
    sums.Deleted(3, false);
    EXPECT_EQ(sums.SelectedBytes(), 0);
    EXPECT_EQ(sums.TotalBytes(), 100);
    // Every row at once: the total, or nothing, whatever was selected before.
    sums.Added(50);
    sums.SelectionChanged(50, true);
    sums.AllSelectionChanged(true);
    EXPECT_EQ(sums.SelectedBytes(), 150);
    sums.AllSelectionChanged(false);
    EXPECT_EQ(sums.SelectedBytes(), 0);
    EXPECT_TRUE(sums.Valid());
}

TEST(ResultSums, AfterAClearTheRowsAreCountedAgainOnceAndOnlyThen) {
    ResultSums sums;
    sums.Added(7);
    sums.Invalidate();
    sums.SelectionChanged(7, true);  // not followed: the recount will see it
    sums.Deleted(7, true);
    SizedRows rows;
    rows.rows = {{5, true}, {40, false}, {600, true}};
    sums.RecountIfNeeded(rows);
    EXPECT_TRUE(sums.Valid());
    EXPECT_EQ(sums.SelectedBytes(), 605);
    EXPECT_EQ(sums.TotalBytes(), 645);
    rows.rows.push_back({9000, true});  // valid sums are not counted again
    sums.RecountIfNeeded(rows);
    EXPECT_EQ(sums.TotalBytes(), 645);
    sums.Reset();
    EXPECT_EQ(sums.SelectedBytes() + sums.TotalBytes(), 0);
}

}  // namespace
}  // namespace kelvaro::testing
