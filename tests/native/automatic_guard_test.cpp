// The guard of automatic runs: when it asks, and the history it decides by.
#include "run/automatic_guard.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kelvaro::testing {
namespace {

constexpr std::int64_t MB = 1024 * 1024;

TEST(GuardStopsRun, AsksOnlyAboveAFloorAndTenTimesTheLargestEarlierRunInEitherFigure) {
    struct Case {
        const char* name;
        RunFigures run;
        std::vector<RunFigures> history;
        bool stops;
    };
    const std::vector<Case> cases = {
        {"no history, at both floors", {100, 100 * MB}, {}, false},
        {"no history, one file above", {101, 0}, {}, true},
        {"no history, one byte above", {1, 100 * MB + 1}, {}, true},
        {"ten times the largest run's files", {600, 0}, {{5, 0}, {60, 0}, {7, 0}}, false},
        {"more than ten times", {601, 0}, {{5, 0}, {60, 0}, {7, 0}}, true},
        {"grown tenfold but below the floor", {90, 90 * MB}, {{1, 1}}, false},
        {"files above the floor, bytes grown tenfold", {150, 50}, {{100, 1}}, true},
        {"bytes above the floor, files grown tenfold", {21, 200 * MB}, {{2, 150 * MB}}, true},
        {"above a floor but grown in neither figure", {150, 200 * MB}, {{100, 150 * MB}}, false},
        {"bytes grown past floor and tenfold", {3, 500 * MB}, {{3, 40 * MB}}, true},
        {"a stored figure too large to multiply",
         {INT64_MAX, INT64_MAX},
         {{INT64_MAX / 5, INT64_MAX / 5}},
         false},
    };
    for (const Case& c : cases) EXPECT_EQ(GuardStopsRun(c.run, c.history), c.stops) << c.name;
}

TEST(GuardQuestion, NamesTheRunsFiguresAndTheLargestEarlierOnes) {
    const std::string question = GuardQuestion({1500, 2000000}, {{12, 3000}, {40, 900}}, true);
    EXPECT_NE(question.find("1,500 files, 2,000,000 bytes"), std::string::npos) << question;
    EXPECT_NE(question.find("at most 40 files, 3,000 bytes"), std::string::npos) << question;
}

// The question of a run with confirmation on keeps its first line and adds what the run found, and why it
// is unusual only when the guard would have stopped it.
TEST(ConfirmedRunQuestion, NamesWhatWasFoundAndWhatTheGuardKnows) {
    const std::string usual = ConfirmedRunQuestion({12, 3000}, {{12, 3000}}, true);
    EXPECT_EQ(usual, "Delete files found for Kelvaro?\n\nThis automatic run found 12 files, 3,000 bytes.");
    const std::string unusual = ConfirmedRunQuestion({1500, 2000000}, {{12, 3000}, {40, 900}}, true);
    EXPECT_EQ(unusual.rfind("Delete files found for Kelvaro?\n\nThis automatic run found 1,500 files, ", 0),
              0u);
    EXPECT_NE(unusual.find(
                  "more than ten times what the last automatic runs deleted (at most 40 files, 3,000 bytes)"),
              std::string::npos)
        << unusual;
    EXPECT_NE(ConfirmedRunQuestion({101, 0}, {}, true).find("no earlier automatic run"), std::string::npos);
    EXPECT_EQ(ConfirmedRunQuestion({0, 0}, {}, true).find("earlier"), std::string::npos);
}

// Whoever answers an automatic run's question learns that the files would not go to the Recycle Bin.
TEST(AutomaticRunQuestions, ADeleteForGoodSaysSoAfterTheQuestion) {
    EXPECT_EQ(
        ConfirmedRunQuestion({12, 3000}, {{12, 3000}}, false),
        "Delete files found for Kelvaro? They will be deleted for good, not moved to the Recycle Bin.\n\n"
        "This automatic run found 12 files, 3,000 bytes.");
    const std::string guard = GuardQuestion({1500, 2000000}, {}, false);
    EXPECT_TRUE(guard.ends_with(
        "Delete these files now? They will be deleted for good, not moved to the Recycle Bin."))
        << guard;
}

class MemoryKey : public RegistryKey {
public:
    std::map<std::string, std::string> values;
    std::unique_ptr<RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
    RegistryValue ReadValue(const std::string& name) override {
        if (!values.count(name)) return {};
        return {RegistryValueType::String, values[name]};
    }
    bool WriteString(const std::string& name, const std::string& text) override {
        values[name] = text;
        return true;
    }
};

TEST(RunHistory, KeepsTheFiveNewestRunsNewestFirst) {
    MemoryKey key;
    for (int run = 1; run <= 7; ++run) WriteRunHistory(key, {run, run * 1000LL});
    const std::vector<RunFigures> history = ReadRunHistory(key);
    ASSERT_EQ(history.size(), kHistoryRuns);
    for (std::size_t i = 0; i < history.size(); ++i) {
        EXPECT_EQ(history[i].files, 7 - static_cast<std::int64_t>(i));
        EXPECT_EQ(history[i].bytes, history[i].files * 1000);
    }
    EXPECT_EQ(key.values["Files1"], "7");
}

TEST(RunHistory, AValueThatIsNoCountEndsTheHistoryThere) {
    for (const char* bad : {"-4", "12x", "", "99999999999999999999"}) {
        MemoryKey key;
        key.values = {{"Files1", "3"}, {"Bytes1", "30"}, {"Files2", bad},
                      {"Bytes2", "1"}, {"Files3", "9"},  {"Bytes3", "9"}};
        const std::vector<RunFigures> history = ReadRunHistory(key);
        ASSERT_EQ(history.size(), 1u) << bad;
        EXPECT_EQ(history[0].bytes, 30);
    }
}

}  // namespace
}  // namespace kelvaro::testing
