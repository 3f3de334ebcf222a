// The pace of a long delete's pumps and progress window, on a clock the test moves.
#include "run/delete_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace kelvaro::testing {
namespace {

class TestClock : public Clock {
public:
    std::uint32_t now = 0;
    LocalDate Today() override { return {}; }
    std::uint32_t TickCount() override { return now; }
};

class CountingPump : public MessagePump {
public:
    std::vector<std::uint32_t> at;  // the clock at each pump
    TestClock* clock = nullptr;
    std::function<void()> during;
    void ProcessMessages() override {
        at.push_back(clock->now);
        if (during) during();
    }
};

class RecordingView : public DeleteProgressView {
public:
    explicit RecordingView(TestClock& clock) : clock_(clock) {}
    std::vector<std::string> events;
    std::vector<std::uint32_t> updatedAt;
    void Show() override { events.emplace_back("show"); }
    void Update(const std::string& text, const std::string& path, int tried, int total) override {
        events.push_back(text + " " + path + " " + std::to_string(tried) + "/" + std::to_string(total));
        updatedAt.push_back(clock_.now);
    }
    void Hide() override { events.emplace_back("hide"); }

private:
    TestClock& clock_;
};

// Files that each take the same time, from a start just before the tick counter wraps.
TEST(DeletePacer, PumpsOnATimerNeverPerFileAndShowsOnlyALongDelete) {
    struct Case {
        std::uint32_t msPerFile;
        int files;
        bool shown;
    };
    for (const Case c :
         {Case{0, 5000, false}, Case{1, 400, false}, Case{2, 1000, true}, Case{60, 20, true}}) {
        SCOPED_TRACE(std::to_string(c.msPerFile) + " ms a file, " + std::to_string(c.files) + " files");
        TestClock clock;
        clock.now = 0xFFFFFF00u;
        const std::uint32_t start = clock.now;
        CountingPump pump;
        pump.clock = &clock;
        RecordingView view(clock);
        {
            DeletePacer pacer(clock, pump, view, ",");
            for (int tried = 1; tried < c.files; ++tried) {
                clock.now += c.msPerFile;
                ASSERT_TRUE(pacer.Between(tried, c.files, {"C:\\f" + std::to_string(tried)}));
            }
        }
        std::uint32_t last = start;
        for (std::uint32_t at : pump.at) {
            EXPECT_GE(at - last, DeletePacer::kPaceMilliseconds);
            EXPECT_LE(at - last, DeletePacer::kPaceMilliseconds + c.msPerFile);
            last = at;
        }
        EXPECT_LT(clock.now - last, DeletePacer::kPaceMilliseconds + c.msPerFile);
        ASSERT_EQ(!view.events.empty(), c.shown);
        if (!c.shown) continue;
        // Shown at the first pump past half a second, drawn then and a few times a second, gone at the end.
        std::size_t before = 0;
        while (pump.at[before] - start < DeletePacer::kShowAfterMilliseconds) ++before;
        ASSERT_FALSE(view.updatedAt.empty());
        EXPECT_EQ(view.updatedAt.front(), pump.at[before]);
        for (std::size_t i = 1; i < view.updatedAt.size(); ++i) {
            const std::uint32_t gap = view.updatedAt[i] - view.updatedAt[i - 1];
            EXPECT_GE(gap, DeletePacer::kRedrawMilliseconds);
            EXPECT_LE(gap, DeletePacer::kRedrawMilliseconds + DeletePacer::kPaceMilliseconds + c.msPerFile);
        }
        EXPECT_EQ(view.events.front(), "show");
        EXPECT_EQ(view.events.back(), "hide");
    }
}

// A removal costs a pass over the whole list: from a short list almost nothing, from a million rows far
// more than a pump's pace.
TEST(DeletePacer, RowsOfFilesGoneLeaveInBatchesThatTakeAtMostATenthOfTheDelete) {
    for (const std::uint32_t removalCost : {0u, 5u, 120u}) {
        SCOPED_TRACE(std::to_string(removalCost) + " ms a removal");
        TestClock clock;
        CountingPump pump;
        pump.clock = &clock;
        RecordingView view(clock);
        std::vector<std::uint64_t> removed;
        std::vector<std::uint32_t> removedAt;
        std::uint32_t removing = 0;
        const int files = 5000;
        {
            DeletePacer pacer(clock, pump, view, ",", [&](const std::vector<std::uint64_t>& ids) {
                removedAt.push_back(clock.now);
                removed.insert(removed.end(), ids.begin(), ids.end());
                clock.now += removalCost;
                removing += removalCost;
            });
            for (int tried = 1; tried < files; ++tried) {
                clock.now += 2;
                pacer.FileGone(static_cast<std::uint64_t>(tried) * 7);
                ASSERT_TRUE(pacer.Between(tried, files, {"C:\f"}));
            }
        }
        ASSERT_GT(removedAt.size(), 2u);  // as it goes, not once at the end
        EXPECT_LE(removedAt.front(), DeletePacer::kRemoveMilliseconds + DeletePacer::kPaceMilliseconds);
        for (std::size_t i = 1; i < removedAt.size(); ++i)
            EXPECT_GE(removedAt[i] - removedAt[i - 1],
                      std::max(DeletePacer::kRemoveMilliseconds, DeletePacer::kRemovalShare * removalCost));
        EXPECT_LE(removing * DeletePacer::kRemovalShare, clock.now);
        // Each gone row once, in the order its file went; the rest wait for the caller.
        ASSERT_LE(removed.size(), static_cast<std::size_t>(files));
        for (std::size_t i = 0; i < removed.size(); ++i) ASSERT_EQ(removed[i], (i + 1) * 7);
    }
}

TEST(DeletePacer, AStopDuringAPumpEndsTheDeleteWithTheViewTellingHowFarItGot) {
    TestClock clock;
    CountingPump pump;
    pump.clock = &clock;
    RecordingView view(clock);
    std::vector<int> stoppedAt;
    {
        DeletePacer pacer(clock, pump, view, ".");
        pump.during = [&] {
            if (clock.now >= 600) pacer.RequestStop();
        };
        for (int tried = 1; tried < 16667; ++tried) {
            clock.now += 100;
            if (!pacer.Between(tried, 16667, {"C:\\TEMP\\" + std::to_string(tried) + ".tmp"})) {
                stoppedAt.push_back(tried);
                break;
            }
        }
    }
    EXPECT_EQ(stoppedAt, std::vector<int>{6});
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"show", "Deleting 5 of 16.667 C:\\TEMP\\5.tmp 5/16667", "hide"}));
}

}  // namespace
}  // namespace kelvaro::testing
