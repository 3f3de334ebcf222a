// Restoring the last clean-up: what the record says of it, which items of a stand-in Recycle Bin are its
// files, and what the user is asked and told.
#include "run/restore_cleanup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace kelvaro::testing {
namespace {

std::string Minute(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return text;
}

class FakeBin : public RecycleBin {
public:
    std::vector<BinItem> items;
    std::set<std::size_t> occupied, failing, restored;
    std::vector<BinItem> Items() override { return items; }
    std::vector<std::string> DeletedAtTexts(const LocalTime& t) override {
        LocalTime before = t;
        if (--before.second < 0) before = {t.year, t.month, t.day, t.hour, t.minute - 1, 59};
        return {Minute(t), Minute(before)};
    }
    RestoreOutcome Restore(std::size_t index, std::uint64_t) override {
        if (occupied.count(index)) return RestoreOutcome::Occupied;
        if (failing.count(index) || !restored.insert(index).second) return RestoreOutcome::Failed;
        return RestoreOutcome::Restored;
    }
};

RecordedLine Line(const char* path, RecordedKind kind, const char* cleanup, int minute = 38, int second = 12,
                  std::uint64_t size = 1000) {
    return {{{2026, 12, 8, 6, minute, second}, kind != RecordedKind::Deleted, size, path, 1, true, cleanup},
            kind};
}

TEST(RestoreCleanup, TheLastCleanupIsItsRecycledFilesNotYetBackAndCountsTheRest) {
    const auto R = RecordedKind::Recycled, D = RecordedKind::Deleted, B = RecordedKind::Restored;
    EXPECT_FALSE(FindLastCleanup({}));
    EXPECT_FALSE(FindLastCleanup({Line("C:\\old", R, "")}));  // a record from before clean-ups had names
    const auto last = FindLastCleanup({Line("C:\\x", R, "1"), Line("C:\\a", R, "2"), Line("C:\\b", D, "2"),
                                       Line("C:\\c", R, "2"), Line("C:\\x", B, "1"), Line("C:\\A", B, "2")});
    ASSERT_TRUE(last);
    EXPECT_EQ(last->id, "2");
    ASSERT_EQ(last->recycled.size(), 1u);
    EXPECT_EQ(last->recycled[0].path, "C:\\c");
    EXPECT_EQ(last->deletedForGood, 1);
    EXPECT_EQ(last->restoredAlready, 1);
    EXPECT_TRUE(last->automatic);
}

// Each file is matched with the item deleted from its path (as the platform compares names) at its
// time, a minute boundary between the delete and its line included; one item serves one file.
TEST(RestoreCleanup, FilesAreMatchedByPathAndTimeAndBroughtBackOneByOne) {
    const auto R = RecordedKind::Recycled;
    const auto cleanup =
        FindLastCleanup({Line("C:\\a", R, "7", 38, 12), Line("C:\\b", R, "7", 39, 0, 24),
                         Line("C:\\c", R, "7"), Line("C:\\d", R, "7"), Line("C:\\e", R, "7")});
    FakeBin bin;
    bin.items = {{"c:\\A", "2026-12-8 6:38"},   // 0: a, its name as another spelling
                 {"C:\\b", "2026-12-8 6:38"},   // 1: b, deleted in the second before its line
                 {"C:\\c", "2026-12-7 6:38"},   // 2: another day: not c
                 {"C:\\d", "2026-12-8 6:38"},   // 3: d
                 {"C:\\d", "2026-12-8 6:38"},   // 4: d deleted twice in a minute: one of them
                 {"C:\\e", "2026-12-8 6:38"}};  // 5: e, whose place is taken
    bin.occupied = {5};
    const RestorePlan plan = PlanRestore(*cleanup, bin);
    ASSERT_EQ(plan.found.size(), 4u);
    EXPECT_EQ(plan.notInBin, 1);
    EXPECT_EQ(plan.bytes, 3024u);
    EXPECT_EQ(plan.found[0].second, 0u);
    EXPECT_EQ(plan.found[1].second, 1u);
    EXPECT_EQ(plan.found[2].second, 3u);
    std::vector<std::string> back;
    const RestoreResult result =
        RestoreFiles(plan, bin, [&](const DeletedFileEntry& file) { back.push_back(file.path); });
    EXPECT_EQ(back, (std::vector<std::string>{"C:\\a", "C:\\b", "C:\\d"}));
    EXPECT_EQ(RestoreResultText(result, ","),
              "3 files came back.\n1 file stayed in the Recycle Bin: another file is at its place now.\n"
              "1 file was no longer in the Recycle Bin.");
}

TEST(RestoreCleanup, TheQuestionNamesWhatComesBackAndWhatCannot) {
    const auto R = RecordedKind::Recycled, D = RecordedKind::Deleted;
    std::vector<RecordedLine> lines;
    FakeBin bin;
    for (int i = 0; i < 16667; ++i) {
        lines.push_back(Line(("C:\\t\\f" + std::to_string(i)).c_str(), R, "5", 38, 12, 75));
        bin.items.push_back({lines.back().file.path, "2026-12-8 6:38"});
    }
    lines.push_back(Line("C:\\gone", D, "5"));
    auto cleanup = FindLastCleanup(lines);
    RestorePlan plan = PlanRestore(*cleanup, bin);
    EXPECT_FALSE(NothingToRestore(cleanup, plan, ","));
    EXPECT_EQ(RestoreQuestion(*cleanup, plan, ",", "."),
              "Restore 16,667 files (1.2 MB) deleted on 2026-12-08 at 06:38 by an automatic run?\n\n"
              "1 file deleted for good cannot be restored.");

    cleanup = FindLastCleanup({Line("C:\\gone", D, "6"), Line("C:\\gone2", D, "6")});
    plan = PlanRestore(*cleanup, bin);
    EXPECT_EQ(
        *NothingToRestore(cleanup, plan, ","),
        "The last clean-up, on 2026-12-08 at 06:38, deleted 2 files for good: nothing can be restored.");
    EXPECT_EQ(*NothingToRestore(std::nullopt, plan, ","),
              "The deletion record holds no clean-up to restore.");
    cleanup = FindLastCleanup({Line("C:\\x", R, "8"), Line("C:\\x", RecordedKind::Restored, "8")});
    EXPECT_EQ(*NothingToRestore(cleanup, PlanRestore(*cleanup, bin), ","),
              "The last clean-up, on 2026-12-08 at 06:38, has been restored already.");
}

TEST(RestoreCleanup, SizesInTheUnitThatFits) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 bytes"},         {1, "1 byte"},       {1023, "1,023 bytes"}, {1024, "1.0 KB"},
        {1536, "1.5 KB"},       {1048535, "1.0 MB"}, {1250000, "1.2 MB"},   {1073741824, "1.0 GB"},
        {5ULL << 50, "5.0 PB"}, {~0ULL, "16.0 EB"}};
    for (const auto& [bytes, text] : cases) EXPECT_EQ(ByteSizeText(bytes, ",", "."), text) << bytes;
}

}  // namespace
}  // namespace kelvaro::testing
