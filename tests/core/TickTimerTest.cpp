#include <gtest/gtest.h>

#include <vector>

#include "timer/TickTimer.h"

namespace {

// A timer service the test fires by hand, one period at a time.
class ManualTimerService final : public PeriodicTimerService {
public:
    std::optional<std::uint32_t> MinimumPeriodMs() override { return minimumPeriod; }
    std::uint32_t StartPeriodic(std::uint32_t periodMs, Callback cb) override
    {
        ++starts;
        this->periodMs = periodMs;
        callback = cb;
        return nextId;
    }
    bool StopPeriodic(std::uint32_t) override
    {
        ++stops;
        if (stopSucceeds) {
            callback = nullptr;
        }
        return stopSucceeds;
    }
    void Fire()
    {
        if (callback != nullptr) {
            callback();
        }
    }

    std::optional<std::uint32_t> minimumPeriod = 1;
    std::uint32_t nextId = 7;
    bool stopSucceeds = true;
    Callback callback = nullptr;
    std::uint32_t periodMs = 0;
    int starts = 0;
    int stops = 0;
};

class CountingTarget final : public TickTarget {
public:
    bool PostTick() override
    {
        ++posts;
        return accepts;
    }
    int posts = 0;
    bool accepts = true;
};

class TickTimerTest : public testing::Test {
protected:
    TickTimerTest()
    {
        g_timerId = 0;
        g_tickPending = 0;
        SetTickTarget(&target);
    }
    ~TickTimerTest() override
    {
        StopTickTimer(service);
        SetTickTarget(nullptr);
    }
    ManualTimerService service;
    CountingTarget target;
};

TEST_F(TickTimerTest, SecondStartFailsAndLeavesTheFirstTimerRunning)
{
    EXPECT_TRUE(StartTickTimer(service));
    EXPECT_EQ(service.periodMs, kTickPeriodMs);
    EXPECT_EQ(g_timerId, 7u);
    EXPECT_FALSE(StartTickTimer(service));
    EXPECT_EQ(service.starts, 1);
    EXPECT_EQ(g_timerId, 7u);
}

TEST_F(TickTimerTest, StartFailsWhenTheServiceCannotKeepTenMilliseconds)
{
    service.minimumPeriod = std::nullopt;
    EXPECT_FALSE(StartTickTimer(service));
    service.minimumPeriod = 11;
    EXPECT_FALSE(StartTickTimer(service));
    service.minimumPeriod = 10;
    service.nextId = 0;
    EXPECT_FALSE(StartTickTimer(service));
    EXPECT_EQ(g_timerId, 0u);
}

TEST_F(TickTimerTest, StopWithoutTimerFailsAndCallsNothing)
{
    EXPECT_FALSE(StopTickTimer(service));
    EXPECT_EQ(service.stops, 0);
}

TEST_F(TickTimerTest, FailedStopKeepsTheTimerAndItsId)
{
    ASSERT_TRUE(StartTickTimer(service));
    service.stopSucceeds = false;
    EXPECT_FALSE(StopTickTimer(service));
    EXPECT_EQ(g_timerId, 7u);
    service.stopSucceeds = true;
}

TEST_F(TickTimerTest, OnlyOneTickIsInFlightSoASlowTickDropsThePostsMeanwhile)
{
    g_tickPending = 1;
    ASSERT_TRUE(StartTickTimer(service));
    EXPECT_EQ(g_tickPending, 0) << "a successful start forces idle";
    service.Fire();
    EXPECT_EQ(target.posts, 1);
    // The tick's handler takes 35 ms: three more periods fall due while it runs.
    service.Fire();
    service.Fire();
    service.Fire();
    EXPECT_EQ(target.posts, 1);
    SetTickPending(0);
    service.Fire();
    EXPECT_EQ(target.posts, 2);
}

TEST_F(TickTimerTest, FailedPostLetsTheNextPeriodTryAgain)
{
    ASSERT_TRUE(StartTickTimer(service));
    target.accepts = false;
    service.Fire();
    EXPECT_EQ(g_tickPending, 0);
    target.accepts = true;
    service.Fire();
    EXPECT_EQ(target.posts, 2);
    EXPECT_EQ(g_tickPending, 1);
}

TEST_F(TickTimerTest, NothingIsPostedWithoutTargetOrAfterStop)
{
    ASSERT_TRUE(StartTickTimer(service));
    SetTickTarget(nullptr);
    service.Fire();
    EXPECT_EQ(target.posts, 0);
    EXPECT_EQ(g_tickPending, 0);
    SetTickTarget(&target);
    EXPECT_TRUE(StopTickTimer(service));
    service.Fire();
    EXPECT_EQ(target.posts, 0);
}

}
