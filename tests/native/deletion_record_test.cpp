// The deletion record's lines and its move to the older generation, against files kept in memory.
#include "run/deletion_record.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kelvaro::testing {
namespace {

class MemoryFiles : public RecordFiles {
public:
    std::map<std::string, std::string> files;
    bool failAppend = false;
    int sizeQuestions = 0;
    std::uint64_t Size(const std::string& path) override {
        ++sizeQuestions;
        return files.count(path) ? files[path].size() : 0;
    }
    bool Append(const std::string& path, const std::string& text) override {
        if (failAppend) return false;
        files[path] += text;
        return true;
    }
    bool Replace(const std::string& from, const std::string& to) override {
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
    EXPECT_EQ(disk.sizeQuestions, 1) << "the record's size is followed, not asked per line";
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
