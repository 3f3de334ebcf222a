// The deletion record's lines and its move to the older generation, against files kept in memory.
#include "run/deletion_record.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace kelvaro::testing {
namespace {

class MemoryFiles : public RecordFiles {
public:
    std::map<std::string, std::string> files;
    bool failAppend = false;
    std::uint64_t Size(const std::string& path) override {
        return files.count(path) ? files[path].size() : 0;
    }
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
};

DeletedFileEntry Entry(const std::string& path) {
    return {{2026, 12, 8, 5, 40, 7}, true, 1234, path, 2, false};
}

TEST(RecordLine, DateTimeHowSizePathRuleAndWhoOneLineEach) {
    EXPECT_EQ(RecordLine(Entry("C:\\Temp\\a b.tmp")),
              "2026-12-08 05:40:07\trecycled\t1234\tC:\\Temp\\a b.tmp\trule 2\tmanual\r\n");
    EXPECT_EQ(RecordLine({{1999, 1, 2, 23, 5, 9}, false, 0, "D:\\x", 11, true}),
              "1999-01-02 23:05:09\tdeleted\t0\tD:\\x\trule 11\tauto\r\n");
}

TEST(DeletionRecord, GrowsPastTheLimitOnlyIntoOneOlderGeneration) {
    MemoryFiles disk;
    const std::string line = RecordLine(Entry("C:\\f"));
    disk.files["K.log"] = std::string(DeletionRecord::kLimit - line.size(), 'x');
    disk.files["K.log.1"] = "oldest";
    DeletionRecord record(disk, "K.log");
    EXPECT_TRUE(record.Write(Entry("C:\\f")));  // exactly at the limit: stays
    EXPECT_EQ(disk.files["K.log.1"], "oldest");
    EXPECT_TRUE(record.Write(Entry("C:\\f")));  // past it: the record moves aside, the oldest goes
    EXPECT_EQ(disk.files["K.log.1"].size(), DeletionRecord::kLimit);
    EXPECT_EQ(disk.files["K.log"], line);
}

// Another instance writes to the same record between this one's lines: the record moves aside once, when
// the lines of both have filled it, and every line is kept.
TEST(DeletionRecord, MovesAsideAtTheSizeOtherWritersLinesMadeAndLosesNone) {
    MemoryFiles disk;
    const std::string filler(DeletionRecord::kLimit - RecordLine(Entry("C:\\a0")).size() * 5 / 2, 'x');
    disk.files["K.log"] = filler;
    DeletionRecord mine(disk, "K.log");
    DeletionRecord theirs(disk, "K.log");
    std::string lines;
    for (int i = 0; i < 3; ++i) {
        for (auto [record, path] : {std::pair{&mine, "C:\\a"}, std::pair{&theirs, "C:\\b"}}) {
            const DeletedFileEntry entry = Entry(path + std::to_string(i));
            EXPECT_TRUE(record->Write(entry));
            lines += RecordLine(entry);
        }
    }
    const std::size_t inFull = 2 * RecordLine(Entry("C:\\a0")).size();  // a0 and b0 still fitted
    EXPECT_EQ(disk.files["K.log.1"], filler + lines.substr(0, inFull));
    EXPECT_EQ(disk.files["K.log"], lines.substr(inFull));
}

TEST(DeletionRecord, ALineThatCannotBeWrittenIsReportedAndTheNextIsTriedAgain) {
    MemoryFiles disk;
    DeletionRecord record(disk, "K.log");
    disk.failAppend = true;
    EXPECT_FALSE(record.Write(Entry("C:\\lost")));
    disk.failAppend = false;
    EXPECT_TRUE(record.Write(Entry("C:\\kept")));
    EXPECT_EQ(disk.files["K.log"], RecordLine(Entry("C:\\kept")));
}

}  // namespace
}  // namespace kelvaro::testing
