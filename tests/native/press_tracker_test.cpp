#include "ui/press_tracker.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(PressTracker, DraggingOffAndBackTogglesTheLookAndOnlyAReleaseInsideClicks) {
    PressTracker tracker;
    EXPECT_FALSE(tracker.Move(true)) << "no press yet: moving changes nothing";
    EXPECT_FALSE(tracker.PressedNow());
    tracker.Press();
    EXPECT_TRUE(tracker.PressedNow());
    EXPECT_FALSE(tracker.Move(true));
    EXPECT_TRUE(tracker.Move(false));
    EXPECT_FALSE(tracker.PressedNow());
    EXPECT_TRUE(tracker.Pressing());
    EXPECT_TRUE(tracker.Move(true));
    EXPECT_EQ(tracker.LetGo(true), PressTracker::Release::Click);
    EXPECT_FALSE(tracker.Pressing());
    EXPECT_EQ(tracker.LetGo(true), PressTracker::Release::NotPressing) << "one press, one click";

    tracker.Press();
    tracker.Move(false);
    EXPECT_EQ(tracker.LetGo(false), PressTracker::Release::Abandoned);
    EXPECT_FALSE(tracker.PressedNow());
}

TEST(PressTracker, ALostCaptureDropsThePressSoTheLaterReleaseIsNoClick) {
    PressTracker tracker;
    EXPECT_FALSE(tracker.Cancel());
    tracker.Press();
    EXPECT_TRUE(tracker.Cancel());
    EXPECT_FALSE(tracker.PressedNow());
    EXPECT_EQ(tracker.LetGo(true), PressTracker::Release::NotPressing);
}

TEST(PressTracker, HoverChangesOnlyOnEnteringAndLeavingAndOutlivesAPress) {
    PressTracker tracker;
    EXPECT_TRUE(tracker.Enter());
    EXPECT_FALSE(tracker.Enter()) << "every mouse move enters again: only the first one repaints";
    tracker.Press();
    tracker.LetGo(true);
    EXPECT_TRUE(tracker.Hot());
    EXPECT_TRUE(tracker.Leave());
    EXPECT_FALSE(tracker.Leave());
}

}  // namespace
}  // namespace kelvaro
