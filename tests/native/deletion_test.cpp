// The deletion loop and the selection summary against an in-memory list and a recording deleter.
#include "run/deletion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_state.h"
#include "platform/file_system.h"
#include "temp_tree.h"

namespace kelvaro::testing {
namespace {

struct Row {
    std::string path;
    std::int64_t bytes = 0;
    bool selected = false;
    std::uint64_t lastWrite = 7;
    std::uint64_t id = 0;  // given by MemoryRows
};

class MemoryRows : public DeletionRows {
public:
    std::vector<Row> rows;
    explicit MemoryRows(std::vector<Row> initial) : rows(std::move(initial)) {
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i].id = i + 1;
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    bool IsSelected(int row) const override { return rows.at(row).selected; }
    std::int64_t ByteCount(int row) const override { return rows.at(row).bytes; }
    ListedFile Listed(int row) const override {
        const Row& r = rows.at(row);
        return {r.path, static_cast<std::uint64_t>(r.bytes), r.lastWrite, r.id};
    }
    void RemoveRows(const std::vector<std::uint64_t>& ids) override {
        removals.push_back(ids);
        for (std::uint64_t id : ids) std::erase_if(rows, [id](const Row& row) { return row.id == id; });
    }
    std::vector<std::vector<std::uint64_t>> removals;
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Row& row : rows) paths.push_back(row.path);
        return paths;
    }
};

// A disk of named files as the probe sees them; a delete succeeds once per existing name.
class FakeDisk : public ShellDeleter, public FileStateProbe {
public:
    std::map<std::string, FileState> files;
    std::vector<std::string> tried;
    std::function<void()> duringDelete;
    int starts = 0;
    void StartDeletes(bool) override { ++starts; }
    void Add(const std::string& path, std::uint64_t size = 1, std::uint64_t lastWrite = 7) {
        files[path] = FileState{true, true, size, lastWrite};
    }
    FileState Describe(const std::string& path) override {
        auto found = files.find(path);
        return found == files.end() ? FileState{} : found->second;
    }
    bool ExactEntryExists(const std::string& path) override { return files.count(path) != 0; }
    DeleteOutcome ShellDeleteFile(const std::string& path, bool) override {
        tried.push_back(path);
        if (duringDelete) duringDelete();
        return files.erase(path) == 1 ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
    }
};

using Paths = std::vector<std::string>;

DeletionResult Delete(MemoryRows& rows, FakeDisk& disk, bool recycle = true) {
    return DeleteSelectedRows(rows, disk, disk, recycle);
}

TEST(DeleteSelectedRows, TriesSelectedRowsOnceTopDownAndRemovesOnlyDeletedOnes) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        Paths disk, tried, left;
        int deleted, vanished;
    };
    const std::vector<Case> cases = {
        {"a vanished middle row stays and is counted, the next is still tried",
         {{"C:\\a", 1, true}, {"C:\\gone", 1, true}, {"C:\\b", 1, false}, {"C:\\c", 1, true}},
         {"C:\\a", "C:\\b", "C:\\c"},
         {"C:\\a", "C:\\c"},
         {"C:\\gone", "C:\\b"},
         2,
         1},
        {"a file listed twice, in another case: deleted once, the second row stays",
         {{"C:\\x", 1, true}, {"C:\\y", 1, false}, {"c:\\X", 1, true}},
         {"C:\\x", "C:\\y", "c:\\X"},
         {"C:\\x"},
         {"C:\\y", "c:\\X"},
         1,
         1},
        {"wildcards never reach the shell", {{"C:\\*.tmp", 1, true}}, {"C:\\*.tmp"}, {}, {"C:\\*.tmp"}, 0, 0},
        {"nothing selected", {{"C:\\a", 1, false}}, {"C:\\a"}, {}, {"C:\\a"}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRows rows(c.rows);
        FakeDisk disk;
        for (const std::string& path : c.disk) disk.Add(path);
        const DeletionResult result = Delete(rows, disk);
        EXPECT_EQ(result.deleted, c.deleted);
        EXPECT_EQ(result.deletedBytes, static_cast<std::uint64_t>(c.deleted));  // a byte a file
        EXPECT_EQ(result.vanished, c.vanished);
        EXPECT_EQ(disk.tried, c.tried);
        EXPECT_EQ(rows.Paths(), c.left);
    }
}

// The list is changed once, after the last file, so that it is not redrawn and summed for every file; an
// error part way, or a caller that cannot record a file, still takes out the rows of the files already gone.
TEST(DeleteSelectedRows, RowsOfDeletedFilesGoTogetherAfterTheLastFileAnErrorOrAStop) {
    MemoryRows rows({{"C:\\a", 1, true}, {"C:\\gone", 1, true}, {"C:\\b", 1, true}, {"C:\\c", 1, true}});
    FakeDisk disk;
    for (const char* path : {"C:\\a", "C:\\b", "C:\\c"}) disk.Add(path);
    disk.duringDelete = [&] { EXPECT_EQ(rows.RowCount(), 4); };
    EXPECT_EQ(Delete(rows, disk).deleted, 3);
    EXPECT_EQ(rows.removals, (std::vector<std::vector<std::uint64_t>>{{1, 3, 4}}));
    EXPECT_EQ(disk.starts, 1);

    MemoryRows again({{"C:\\a", 1, true}, {"C:\\b", 1, true}, {"C:\\c", 1, true}});
    for (const char* path : {"C:\\a", "C:\\b", "C:\\c"}) disk.Add(path);
    disk.duringDelete = [&] {
        if (disk.tried.back() == "C:\\b") throw std::runtime_error("no more");
    };
    EXPECT_THROW(Delete(again, disk), std::runtime_error);
    EXPECT_EQ(again.Paths(), (Paths{"C:\\b", "C:\\c"}));

    MemoryRows stopped({{"C:\\a", 1, true}, {"C:\\b", 1, true}, {"C:\\c", 1, true}});
    for (const char* path : {"C:\\a", "C:\\b", "C:\\c"}) disk.Add(path);
    disk.tried.clear();
    // Each file's line is written before the next file goes to the shell: a delete cut short leaves at
    // most the file under way without its line.
    Paths events;
    disk.duringDelete = [&] { events.push_back("shell " + disk.tried.back()); };
    const DeletionResult result =
        DeleteSelectedRows(stopped, disk, disk, false, [&](const ListedFile& file, bool) {
            events.push_back("line " + file.path);
            return file.path != "C:\\b";  // its line could not be written
        });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(events, (Paths{"shell C:\\a", "line C:\\a", "shell C:\\b", "line C:\\b"}));
    EXPECT_EQ(disk.tried, (Paths{"C:\\a", "C:\\b"}));
    EXPECT_EQ(stopped.Paths(), Paths{"C:\\c"});
}

// The shell's boxes let the window take input during a call: the list may be sorted again, or its rows
// removed. The files tried and the rows removed are still exactly the selected ones.
TEST(DeleteSelectedRows, AListChangedDuringACallChangesNeitherTheFilesNorTheRows) {
    MemoryRows rows({{"C:\\a", 1, true}, {"C:\\b"}, {"C:\\c", 1, true}, {"C:\\d"}, {"C:\\e"}});
    FakeDisk disk;
    for (const char* path : {"C:\\a", "C:\\b", "C:\\c", "C:\\d", "C:\\e"}) disk.Add(path);
    disk.duringDelete = [&] { std::reverse(rows.rows.begin(), rows.rows.end()); };
    EXPECT_EQ(Delete(rows, disk).deleted, 2);
    EXPECT_EQ(disk.tried, (Paths{"C:\\a", "C:\\c"}));
    EXPECT_EQ(rows.Paths(), (Paths{"C:\\b", "C:\\d", "C:\\e"}));  // reversed at each of the two calls
}

// Other work (the window's messages) may run only between files, once a file's line is written; a list
// changed there changes nothing of the delete, and a stop there keeps every file not yet tried.
TEST(DeleteSelectedRows, ProgressComesBetweenFilesAfterTheLineAndAStopThereKeepsTheRest) {
    MemoryRows rows(
        {{"C:\\a", 1, true}, {"C:\\gone", 1, true}, {"C:\\c", 1, true}, {"C:\\d", 1, true}, {"C:\\e"}});
    FakeDisk disk;
    for (const char* path : {"C:\\a", "C:\\c", "C:\\d", "C:\\e"}) disk.Add(path);
    Paths events;
    disk.duringDelete = [&] { events.push_back("shell " + disk.tried.back()); };
    const DeletionResult result = DeleteSelectedRows(
        rows, disk, disk, true,
        [&](const ListedFile& file, bool) {
            events.push_back("line " + file.path);
            return true;
        },
        [&](int tried, int total, const ListedFile& last) {
            events.push_back(std::to_string(tried) + "/" + std::to_string(total) + " " + last.path);
            std::reverse(rows.rows.begin(), rows.rows.end());
            return tried < 3;
        });
    EXPECT_EQ(events, (Paths{"shell C:\\a", "line C:\\a", "1/4 C:\\a", "2/4 C:\\gone", "shell C:\\c",
                             "line C:\\c", "3/4 C:\\c"}));
    EXPECT_TRUE(result.stopRequested);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(rows.Paths(), (Paths{"C:\\e", "C:\\d", "C:\\gone"}));  // reversed three times
}

TEST(KeptFilesText, OneLinePerReasonOnlyWhenFilesWereKept) {
    DeletionResult result;
    result.deleted = 3;
    result.deletedBytes = 1258291;
    EXPECT_EQ(DeletedFilesText(result, true, ",", "."), "Deleted 3 files (1.2 MB) into the Recycle Bin");
    result.deleted = 1;
    result.deletedBytes = 12;
    EXPECT_EQ(DeletedFilesText(result, false, ",", "."), "Deleted 1 file (12 bytes) for good");
    result.deleted = 3;
    result.failed = 2;  // the shell told of those itself
    EXPECT_EQ(KeptFilesText(result), "");
    result.changed = 2;
    result.vanished = 1;
    result.notRecyclable = 1;
    EXPECT_EQ(KeptFilesText(result),
              "2 files changed since they were listed and were kept.\n"
              "1 file no longer existed and was kept in the list.\n"
              "1 file could not be moved to the Recycle Bin and was kept.");
    result = {};
    result.changed = 1;
    result.vanished = 3;
    EXPECT_EQ(KeptFilesText(result),
              "1 file changed since it was listed and was kept.\n"
              "3 files no longer existed and were kept in the list.");
}

// The box names the kept files, ten at most over all reasons, under the line of the reason that kept them.
TEST(KeptFilesText, NamesTheFirstTenKeptFilesAndCountsTheRest) {
    for (const int vanished : {0, 1, 10, 11, 25}) {
        std::vector<Row> listed;
        for (int i = 0; i < vanished; ++i) listed.push_back({"C:\\f" + std::to_string(i), 1, true});
        MemoryRows rows(listed);
        FakeDisk disk;
        const DeletionResult result = Delete(rows, disk);
        std::string expected = vanished == 0   ? ""
                               : vanished == 1 ? "1 file no longer existed and was kept in the list."
                                               : std::to_string(vanished) +
                                                     " files no longer existed and were kept in the list.";
        for (int i = 0; i < std::min(vanished, 10); ++i) expected += "\n- C:\\f" + std::to_string(i);
        if (vanished > 10) expected += "\nand " + std::to_string(vanished - 10) + " more";
        EXPECT_EQ(KeptFilesText(result), expected) << vanished;
        EXPECT_LE(result.vanishedPaths.size(), kKeptFilesNamed) << "a large delete keeps only what it names";
    }
    // Eight changed, five vanished, one refused by the Recycle Bin.
    DeletionResult mixed;
    mixed.changed = 8;
    mixed.vanished = 5;
    mixed.notRecyclable = 1;
    for (int i = 0; i < 8; ++i) mixed.changedPaths.push_back("C:\\c" + std::to_string(i));
    for (int i = 0; i < 5; ++i) mixed.vanishedPaths.push_back("C:\\v" + std::to_string(i));
    mixed.notRecyclablePaths = {"C:\\r"};
    EXPECT_EQ(KeptFilesText(mixed),
              "8 files changed since they were listed and were kept.\n"
              "- C:\\c0\n- C:\\c1\n- C:\\c2\n- C:\\c3\n- C:\\c4\n- C:\\c5\n- C:\\c6\n- C:\\c7\n\n"
              "5 files no longer existed and were kept in the list.\n"
              "- C:\\v0\n- C:\\v1\nand 3 more\n\n"
              "1 file could not be moved to the Recycle Bin and was kept.");
}

// What the directory search lists and what the probe sees later, on real files.
TEST(UnchangedSinceListed, RealFilesRewrittenGrownReplacedRecreatedOrLinkedAreChanged) {
    TempTree tree;
    const std::time_t old = std::time(nullptr) - 40 * 24 * 3600;
    const Paths names = {"kept.tmp",     "rewritten.tmp", "grown.tmp",
                         "replaced.tmp", "linked.tmp",    "recreated.tmp"};
    for (const std::string& name : names) {
        tree.File(name, "12345");
        tree.Touch(name, old);
    }
    auto probe = MakePlatformFileStateProbe();
    std::map<std::string, ListedFile> listed;
    auto files = MakePlatformFileSystem();
    auto listing = files->FindFirst(tree.Windows("*.tmp"));
    ASSERT_NE(listing, nullptr);
    DirectoryEntry entry;
    while (listing->Next(entry)) {
        const std::string path = tree.Windows(entry.name);
        listed[entry.name] = {path, entry.size, entry.lastWriteTime, 0, 0, probe->Describe(path).identity};
    }
    ASSERT_EQ(listed.size(), names.size());

    tree.File("rewritten.tmp", "54321");
    tree.File("grown.tmp", "123456");
    tree.Touch("grown.tmp", old);
    std::remove((tree.Root() + "/replaced.tmp").c_str());
    tree.File("replaced.tmp", "12345");
    // Moved away (size and time go with it) and a link to it put in its place.
    std::rename((tree.Root() + "/linked.tmp").c_str(), (tree.Root() + "/moved.dat").c_str());
    tree.Link("linked.tmp", tree.Root() + "/moved.dat");
    // Another file of the same name, content and time.
    tree.File("new.dat", "12345");
    tree.Touch("new.dat", old);
    std::rename((tree.Root() + "/new.dat").c_str(), (tree.Root() + "/recreated.tmp").c_str());

    for (const auto& [name, file] : listed)
        EXPECT_EQ(UnchangedSinceListed(probe->Describe(file.path), file), name == "kept.tmp") << name;
}

TEST(SelectionSummary, TextsAndWhenThePanelIsLeftAlone) {
    EXPECT_EQ(SelectionSummaryFromSums(1, 3, false, false, 1024, 3584, ",", "."),
              "Selected: 1 of 3 (1.00k of 3.50k)");
    EXPECT_EQ(SelectionSummaryFromSums(0, 3, false, false, 0, 3584, ",", "."), std::nullopt);
    EXPECT_EQ(SelectionSummaryFromSums(0, 0, false, false, 0, 0, ",", "."), std::nullopt);
    // The selection has just become empty: the panel says so rather than keep the last count.
    EXPECT_EQ(SelectionSummaryFromSums(0, 3, false, true, 0, 3584, ",", "."),
              "Selected: 0 of 3 (0.00k of 3.50k)");
    // The list reports a row under change although none counts as selected.
    EXPECT_EQ(SelectionSummaryFromSums(0, 3, true, false, 0, 3584, ",", "."),
              "Selected: 1 of 3 (0.00k of 3.50k)");
    EXPECT_EQ(SelectionSummaryFromSums(0, 3, true, true, 0, 3584, ",", "."),
              "Selected: 1 of 3 (0.00k of 3.50k)");
    // Sums above what 32 bits hold, with the locale's own separators.
    EXPECT_EQ(SelectionSummaryFromSums(2, 3, false, true, 3'000'001'024, 6'000'001'024, ".", ","),
              "Selected: 2 of 3 (2.929.688,50k of 5.859.376,00k)");
}

TEST(FormatKilobytes, TwoDecimalsGroupingAndRounding) {
    struct Case {
        std::int64_t bytes;
        const char *thousands, *decimal, *text;
    };
    const Case cases[] = {
        {0, ",", ".", "0.00"},
        {5, ",", ".", "0.00"},     // 0.00488 rounds down
        {6, ",", ".", "0.01"},     // 0.00586 rounds up
        {1264, ",", ".", "1.23"},  // 1.234375
        {1265, ",", ".", "1.24"},  // 1.2353...
        {1023, ",", ".", "1.00"},  // 0.999 carries into the whole part
        {1264128, ",", ".", "1,234.50"},
        {1023 * 1024 + 1020, ",", ".", "1,024.00"},  // carry across a separator
        {1024LL * 999'999, ",", ".", "999,999.00"},
        {1024LL * 1'000'000, ",", ".", "1,000,000.00"},
        {1264128, "\xA0", ",",
         "1\xA0"
         "234,50"},  // a no-break space groups some locales
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
