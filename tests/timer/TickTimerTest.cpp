#include <gtest/gtest.h>

#include <thread>

#include "timer/TickTimer.h"

// The test is the ticks' target and a timer service that keeps only 10 ms, firing on a thread of its own.
class TickTimerTest : public testing::Test, public PeriodicTimerService, public TickTarget {
protected:
    TickTimerTest() { SetTickTarget(this); }
    ~TickTimerTest() override { g_timerId = 0; }
    std::optional<std::uint32_t> MinimumPeriodMs() override { return minimumPeriod; }
    std::uint32_t StartPeriodic(std::uint32_t periodMs, Callback) override { return periodMs == 10 ? nextId : 0; }
    bool StopPeriodic(std::uint32_t) override { return stopSucceeds; }
    bool PostTick() override { return ++posts <= acceptedPosts; }
    void FirePeriod() { std::thread(TickTimerProc).join(); }

    std::optional<std::uint32_t> minimumPeriod;
    std::uint32_t nextId = 7;
    bool stopSucceeds = true;
    int posts = 0, acceptedPosts = 1;
};

TEST_F(TickTimerTest, RunsOneTimerAtATimeAndOnlyOnAServiceThatKeeps10Milliseconds)
{
    EXPECT_FALSE(StartTickTimer(*this)) << "the service cannot tell its shortest period";
    minimumPeriod = 11;
    EXPECT_FALSE(StartTickTimer(*this));
    minimumPeriod = 10;
    EXPECT_TRUE(StartTickTimer(*this) && !StartTickTimer(*this)) << "a second start is refused";
    stopSucceeds = false;
    EXPECT_FALSE(StopTickTimer(*this)) << "the service failed to stop it";
    stopSucceeds = true;
    EXPECT_TRUE(StopTickTimer(*this) && !StopTickTimer(*this)) << "a second stop is refused";
    nextId = 0;
    EXPECT_FALSE(StartTickTimer(*this)) << "the service could not start";
}

TEST_F(TickTimerTest, OnlyOneTickIsInFlightAndAFailedPostLetsTheNextPeriodTryAgain)
{
    minimumPeriod = 10;
    SetTickPending(1);
    ASSERT_TRUE(StartTickTimer(*this));
    EXPECT_EQ(g_tickPending, 0) << "a start begins idle";
    for (int period = 0; period < 4; ++period) {
        FirePeriod(); // a slow tick: three more periods fall due while it runs
    }
    SetTickPending(0);
    FirePeriod(); // the post fails
    FirePeriod(); // and so does the next one
    SetTickTarget(nullptr);
    FirePeriod();
    EXPECT_EQ(std::tuple(posts, g_tickPending.load()), std::tuple(3, 0));
}
