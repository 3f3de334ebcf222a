// The deletion loop and the selection summary against an in-memory list and a recording deleter.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "run/deletion.h"

namespace kelvaro::testing {
namespace {

struct Row {
    std::string path;
    std::int64_t bytes = 0;
    bool selected = false;
};

class MemoryRows : public DeletionRows {
public:
    std::vector<Row> rows;
    explicit MemoryRows(std::vector<Row> initial) : rows(std::move(initial)) {}
    int RowCount() const override { return static_cast<int>(rows.size()); }
    bool IsSelected(int row) const override { return rows.at(row).selected; }
    std::string Path(int row) const override { return rows.at(row).path; }
    std::int64_t ByteCount(int row) const override { return rows.at(row).bytes; }
    void RemoveRow(int row) override { rows.erase(rows.begin() + row); }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Row& row : rows) paths.push_back(row.path);
        return paths;
    }
};

// A disk of named files: a delete succeeds once per existing name.
class FakeDisk : public ShellDeleter {
public:
    std::set<std::string> files;
    std::vector<std::string> tried;
    std::vector<bool> recycle;
    bool ShellDeleteFile(const std::string& path, bool useRecycleBin) override {
        tried.push_back(path);
        recycle.push_back(useRecycleBin);
        return files.erase(path) == 1;
    }
};

using Paths = std::vector<std::string>;

TEST(DeleteSelectedRows, TriesSelectedRowsOnceTopDownAndRemovesOnlyDeletedOnes) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        std::set<std::string> disk;
        Paths tried, left;
        int deleted;
    };
    const std::vector<Case> cases = {
        {"all deleted",
         {{"C:\\a", 1, true}, {"C:\\b", 1, false}, {"C:\\c", 1, true}},
         {"C:\\a", "C:\\b", "C:\\c"},
         {"C:\\a", "C:\\c"},
         {"C:\\b"},
         2},
        {"failing middle row stays, the next is still tried",
         {{"C:\\a", 1, true}, {"C:\\gone", 1, true}, {"C:\\c", 1, true}, {"C:\\d", 1, true}},
         {"C:\\a", "C:\\c", "C:\\d"},
         {"C:\\a", "C:\\gone", "C:\\c", "C:\\d"},
         {"C:\\gone"},
         3},
        {"a file listed twice: the second try fails and its row stays",
         {{"C:\\x", 1, true}, {"C:\\y", 1, false}, {"C:\\x", 1, true}},
         {"C:\\x", "C:\\y"},
         {"C:\\x", "C:\\x"},
         {"C:\\y", "C:\\x"},
         1},
        {"nothing selected", {{"C:\\a", 1, false}}, {"C:\\a"}, {}, {"C:\\a"}, 0},
        {"empty list", {}, {}, {}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRows rows(c.rows);
        FakeDisk disk;
        disk.files = c.disk;
        EXPECT_EQ(DeleteSelectedRows(rows, disk, true), c.deleted);
        EXPECT_EQ(disk.tried, c.tried);
        EXPECT_EQ(rows.Paths(), c.left);
    }
}

TEST(DeleteSelectedRows, PassesTheRecycleBinFlagThrough) {
    for (bool recycle : {true, false}) {
        MemoryRows rows({{"C:\\a", 1, true}, {"C:\\b", 1, true}});
        FakeDisk disk;
        DeleteSelectedRows(rows, disk, recycle);
        EXPECT_EQ(disk.recycle, std::vector<bool>(2, recycle));
    }
}

TEST(SelectionSummary, TextsAndWhenThePanelIsLeftAlone) {
    const std::vector<Row> example = {{"a", 1024, true}, {"b", 2048, false}, {"c", 512, false}};
    EXPECT_EQ(SelectionSummary(MemoryRows(example), false, ",", "."), "Selected: 1 of 3 (1.00k of 3.50k)");

    std::vector<Row> none = example;
    none[0].selected = false;
    EXPECT_EQ(SelectionSummary(MemoryRows(none), false, ",", "."), std::nullopt);
    // The list reports a row under change although none counts as selected.
    EXPECT_EQ(SelectionSummary(MemoryRows(none), true, ",", "."), "Selected: 1 of 3 (0.00k of 3.50k)");
    EXPECT_EQ(SelectionSummary(MemoryRows({}), false, ",", "."), std::nullopt);

    std::vector<Row> all = example;
    for (Row& row : all) row.selected = true;
    EXPECT_EQ(SelectionSummary(MemoryRows(all), true, ",", "."), "Selected: 3 of 3 (3.50k of 3.50k)");
}

TEST(SelectionSummary, SumsSixtyFourBitByteCountsAboveTwoGigabytes) {
    const std::int64_t big = 3'000'000'000;  // no 32-bit size or sum holds it
    MemoryRows rows({{"a", big, true}, {"b", big, false}, {"c", 1024, true}});
    EXPECT_EQ(SelectionSummary(rows, false, ",", "."), "Selected: 2 of 3 (2,929,688.50k of 5,859,376.00k)");
    EXPECT_EQ(SelectionSizeText(rows, ".", ","), " (2.929.688,50k of 5.859.376,00k)");
}

TEST(FormatKilobytes, TwoDecimalsGroupingAndRounding) {
    struct Case {
        std::int64_t bytes;
        const char *thousands, *decimal, *text;
    };
    const Case cases[] = {
        {0, ",", ".", "0.00"},
        {5, ",", ".", "0.00"},          // 0.00488 rounds down
        {6, ",", ".", "0.01"},          // 0.00586 rounds up
        {1264, ",", ".", "1.23"},       // 1.234375
        {1265, ",", ".", "1.24"},       // 1.2353...
        {1023, ",", ".", "1.00"},       // 0.999 carries into the whole part
        {1264128, ",", ".", "1,234.50"},
        {1023 * 1024 + 1020, ",", ".", "1,024.00"},  // carry across a separator
        {1024LL * 999'999, ",", ".", "999,999.00"},
        {1024LL * 1'000'000, ",", ".", "1,000,000.00"},
        {1264128, "\xA0", ",", "1\xA0" "234,50"},   // a no-break space groups some locales
        {1264128, "", ".", "1234.50"},
        {1264128, "'", ".", "1'234.50"},
        {INT64_MAX, ",", ".", "9,007,199,254,740,992.00"},
        {-1264128, ",", ".", "-1,234.50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(FormatKilobytes(c.bytes, c.thousands, c.decimal), c.text);
    }
}

}  // namespace
}  // namespace kelvaro::testing
