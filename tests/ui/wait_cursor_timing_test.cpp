// The wait cursor's timing, on a clock the test moves.

#include "ui/wait_cursor_timing.h"

#include <gtest/gtest.h>

using namespace ui;
using namespace std::chrono_literals;

namespace {

const WaitCursorTiming::Clock::time_point t0{};

TEST(WaitCursorTiming, ShowsAtOnceAndLeavesAtTheFirstTickAtLeast50msAfterTheEnd)
{
    WaitCursorTiming timing;
    EXPECT_TRUE(timing.workStarted());
    EXPECT_TRUE(timing.shown());
    EXPECT_FALSE(timing.timerRunning());
    EXPECT_TRUE(timing.workEnded(t0));
    EXPECT_TRUE(timing.timerRunning());
    EXPECT_TRUE(timing.shown());
    EXPECT_FALSE(timing.tick(t0 + 49ms)); // the first tick may come early
    EXPECT_TRUE(timing.shown());
    EXPECT_TRUE(timing.tick(t0 + 50ms));
    EXPECT_FALSE(timing.shown());
    EXPECT_FALSE(timing.timerRunning());
    EXPECT_FALSE(timing.tick(t0 + 100ms));
}

TEST(WaitCursorTiming, AQuickSeriesShowsOneWait)
{
    WaitCursorTiming timing;
    int shows = 0;
    int restores = 0;
    auto t = t0;
    for (int i = 0; i < 5; ++i) {
        shows += timing.workStarted();
        timing.workEnded(t);
        t += 20ms;
        restores += timing.tick(t);
    }
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(restores, 0);
    EXPECT_TRUE(timing.tick(t + 50ms));
}

TEST(WaitCursorTiming, NestedWorkEndsWithTheOutermost)
{
    WaitCursorTiming timing;
    EXPECT_TRUE(timing.workStarted());
    EXPECT_FALSE(timing.workStarted()); // already shown
    EXPECT_FALSE(timing.workEnded(t0));
    EXPECT_FALSE(timing.timerRunning());
    EXPECT_FALSE(timing.tick(t0 + 1s));
    EXPECT_TRUE(timing.shown());
    EXPECT_TRUE(timing.workEnded(t0 + 1s));
    EXPECT_TRUE(timing.tick(t0 + 1s + 50ms));
}

TEST(WaitCursorTiming, WorkStartingBeforeTheTickStopsTheTimer)
{
    WaitCursorTiming timing;
    timing.workStarted();
    timing.workEnded(t0);
    EXPECT_FALSE(timing.workStarted());
    EXPECT_FALSE(timing.timerRunning());
    EXPECT_FALSE(timing.tick(t0 + 60ms));
    EXPECT_TRUE(timing.shown());
}

} // namespace
