#include <gtest/gtest.h>

#include <thread>

#include "timer/TickTimer.h"

// The test is the ticks' target and a timer service that keeps only 10 ms, firing on a thread of its own.
class TickTimerTest : public testing::Test, public PeriodicTimerService, public TickTarget {
protected:
    TickTimerTest() { g_tickTarget = this; }
    ~TickTimerTest() override { StopTickTimer(*this); }
    bool StartPeriodic(unsigned periodMs, Callback) override { return periodMs == 10; }
    bool StopPeriodic() override { return true; }
    bool PostTick() override { return ++posts; }
    void FirePeriod() { std::thread(TickTimerProc).join(); }

    int posts = 0;
};

TEST_F(TickTimerTest, RunsOneTimerAtATimeAt10Milliseconds)
{
    EXPECT_TRUE(StartTickTimer(*this) && !StartTickTimer(*this) && TickTimerRuns()) << "a second start is refused";
    EXPECT_TRUE(StopTickTimer(*this) && !StopTickTimer(*this) && !TickTimerRuns()) << "a second stop is refused";
}

TEST_F(TickTimerTest, OnlyOneTickIsInFlightAndNoneWithoutATarget)
{
    SetTickPending(1);
    ASSERT_TRUE(StartTickTimer(*this) && g_tickPending == 0) << "a start begins idle";
    for (int period = 0; period < 4; ++period) {
        FirePeriod(); // a slow tick: three more periods fall due while it runs
    }
    SetTickPending(0), g_tickTarget = nullptr;
    FirePeriod();
    EXPECT_EQ(std::tuple(posts, g_tickPending.load()), std::tuple(1, 0));
}
