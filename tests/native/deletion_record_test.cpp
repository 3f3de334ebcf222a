// The deletion record's lines, read back, and its move to the older generation between clean-ups, against
// files kept in memory.
#include "run/deletion_record.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace kelvaro::testing {
namespace {

class MemoryFiles : public RecordFiles {
public:
    std::map<std::string, std::string> files;
    bool failAppend = false;
    std::uint64_t Size(const std::string& path) override {
        return files.count(path) ? files[path].size() : 0;
    }
    std::string Read(const std::string& path) override { return files.count(path) ? files[path] : ""; }
    bool Append(const std::string& path, const std::string& text) override {
        if (failAppend) return false;
        files[path] += text;
        return true;
    }
    bool Replace(const std::string& from, const std::string& to, std::uint64_t largerThan) override {
        if (files[from].size() <= largerThan) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    std::string WriterId() override { return "77"; }
};

DeletedFileEntry Entry(const std::string& path) {
    return {{2026, 12, 8, 5, 40, 7}, true, 1234, path, 2, false};
}

TEST(RecordLine, WritesEachPartAndReadsBackWhatItWroteAndOlderLinesWithoutAClean_up) {
    DeletedFileEntry entry = Entry("C:\\Temp\\a b.tmp");
    EXPECT_EQ(RecordLine(entry),
              "2026-12-08 05:40:07\trecycled\t1234\tC:\\Temp\\a b.tmp\trule 2\tmanual\r\n");
    entry.cleanup = "20261208-054007-77-1";
    const std::string line = RecordLine({{1999, 1, 2, 23, 5, 9}, false, 0, "D:\\x", 11, true, entry.cleanup});
    EXPECT_EQ(line,
              "1999-01-02 23:05:09\tdeleted\t0\tD:\\x\trule 11\tauto\tcleanup 20261208-054007-77-1\r\n");
    for (RecordedKind kind : {RecordedKind::Recycled, RecordedKind::Deleted, RecordedKind::Restored})
        for (const std::string& cleanup : {std::string(), entry.cleanup}) {
            entry.cleanup = cleanup;
            const auto parsed = ParseRecordLine(RecordLine(entry, kind));
            ASSERT_TRUE(parsed);
            EXPECT_EQ(parsed->kind, kind);
            EXPECT_EQ(RecordLine(parsed->file, parsed->kind), RecordLine(entry, kind));
        }
    // Damaged lines are passed over; the lines around them still read.
    const std::string text =
        "2026-12-08 05:40:07\trecycled\t12\tC:\\a\trule 1\tauto\r\n"
        "2026-12-08 05:40:07\trecycled\t-12\tC:\\b\trule 1\tauto\r\n"
        "2026-13-08 05:40\trecycled\t12\tC:\\c\trule 1\tauto\r\n"
        "2026-12-08 05:40:07\tmoved\t12\tC:\\d\trule 1\tauto\r\n"
        "2026-12-08 05:40:07\trecycled\t12\tC:\\e\trule x\tauto\r\n"
        "2026-12-08 05:40:07\trecycled\t12\tC:\\f\trule 1\tauto\tcleanup \r\n"
        "garbage\n"
        "2026-12-08 05:40:08\tdeleted\t3\tC:\\g\trule 2\tmanual\tcleanup 9\n";
    const std::vector<RecordedLine> lines = ParseRecord(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].file.path, "C:\\a");
    EXPECT_EQ(lines[1].file.path, "C:\\g");
    EXPECT_EQ(lines[1].file.cleanup, "9");
}

// Clean-ups of every size, one after another: the two generations always hold the last five clean-ups
// whole and 100,000 lines (all there were, when fewer), and the record moves aside only between clean-ups.
TEST(DeletionRecord, BothGenerationsKeepTheLastCleanupsWholeAndMoveAsideOnlyBetweenThem) {
    MemoryFiles disk;
    DeletionRecord record(disk, "K.log");
    const int sizes[] = {3,     60000, 1, 1, 1, 45000, 2, 120000, 5, 5, 5, 5, 5,
                         99990, 7,     1, 1, 1, 1,     1, 1,      1, 1, 1, 1};
    std::vector<std::set<std::string>> cleanups;  // each clean-up's paths
    int file = 0, second = 0;
    for (int size : sizes) {
        cleanups.emplace_back();
        for (int i = 0; i < size; ++i, ++file) {
            DeletedFileEntry entry = Entry("C:\\f" + std::to_string(file));
            entry.when.second = second % 60;
            entry.when.minute = second / 60 % 60;
            ASSERT_TRUE(record.Write(entry));
            cleanups.back().insert(entry.path);
        }
        record.Close();
        ++second;
        const std::vector<RecordedLine> lines = record.ReadAll();
        std::map<std::string, std::set<std::string>> kept;
        for (const RecordedLine& line : lines) kept[line.file.cleanup].insert(line.file.path);
        // Counted back from the newest: whole clean-ups, at least five of them or 100,000 lines.
        std::size_t wholeLines = 0, whole = 0;
        for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) {
            bool found = false;
            for (const auto& [id, paths] : kept) found = found || paths == *it;
            if (!found) break;
            ++whole;
            wholeLines += it->size();
        }
        EXPECT_TRUE(whole == cleanups.size() || (whole >= 5 && wholeLines >= DeletionRecord::kKeptLines))
            << "after clean-up " << cleanups.size() << ": " << whole << " whole, " << wholeLines << " lines";
        EXPECT_GE(whole, 1u);
    }
    EXPECT_TRUE(disk.files.count("K.log.1")) << "never moved aside";
}

TEST(DeletionRecord, TwoCleanupsInOneSecondAreTwo) {
    MemoryFiles disk;
    DeletionRecord record(disk, "K.log");
    for (const char* path : {"C:\\a", "C:\\b"}) {
        ASSERT_TRUE(record.Write(Entry(path)));
        record.Close();
    }
    const std::vector<RecordedLine> lines = record.ReadAll();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].file.cleanup, lines[1].file.cleanup);
}

TEST(DeletionRecord, ALineThatCannotBeWrittenIsReportedAndTheNextIsTriedAgain) {
    MemoryFiles disk;
    DeletionRecord record(disk, "K.log");
    disk.failAppend = true;
    EXPECT_FALSE(record.Write(Entry("C:\\lost")));
    disk.failAppend = false;
    EXPECT_TRUE(record.Write(Entry("C:\\kept")));
    DeletedFileEntry kept = Entry("C:\\kept");
    kept.cleanup = "20261208-054007-77-1";
    EXPECT_EQ(disk.files["K.log"], RecordLine(kept));
}

}  // namespace
}  // namespace kelvaro::testing
