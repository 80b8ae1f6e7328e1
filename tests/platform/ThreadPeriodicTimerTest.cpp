#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <semaphore>
#include <thread>

#include "platform/timer/ThreadPeriodicTimer.h"
#include "timer/TickTimer.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The first call stalls the timer thread for 25 periods.
std::atomic<int> g_calls = 0;
std::atomic<Clock::time_point> g_stallEnded;

void StallOnTheFirstCall()
{
    if (g_calls++ == 0) {
        std::this_thread::sleep_for(50ms);
        g_stallEnded = Clock::now();
    }
}

// Once the stall is over the calls keep to whole periods, with none made up in a burst.
TEST(ThreadPeriodicTimerTest, SkipsPeriodsMissedInAStallAndStopsOnlyForItsOwnId)
{
    ThreadPeriodicTimer timer;
    const std::uint32_t id = timer.StartPeriodic(2, &StallOnTheFirstCall);
    ASSERT_NE(id, 0U);
    while (g_calls < 8) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(timer.StopPeriodic(id + 1));
    ASSERT_TRUE(timer.StopPeriodic(id));
    const int callsAtStop = g_calls;
    EXPECT_LE(callsAtStop, 3 + (Clock::now() - g_stallEnded.load()) / 2ms);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(g_calls, callsAtStop) << "a call after StopPeriodic returned";
}

// No thread can start while the default stack of a new one would fill the address space.
TEST(ThreadPeriodicTimerTest, ATimerThreadTheSystemCannotCreateFailsTheStartCleanly)
{
    ThreadPeriodicTimer timer;
    pthread_attr_t saved, huge;
    pthread_getattr_default_np(&saved);
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, std::size_t { 1 } << 47);
    pthread_setattr_default_np(&huge);
    EXPECT_FALSE(StartTickTimer(timer));
    pthread_setattr_default_np(&saved);
    pthread_attr_destroy(&huge);
    pthread_attr_destroy(&saved);
    EXPECT_EQ(g_timerId, 0U);
    ASSERT_TRUE(StartTickTimer(timer)) << "the failed start left something behind";
    EXPECT_TRUE(StopTickTimer(timer));
}

// The target's post lasts until `release`, as when the timer thread is preempted in it.
struct SlowPostTarget final : TickTarget {
    bool PostTick() override
    {
        posting.release();
        release.acquire();
        return posted = true;
    }
    std::binary_semaphore posting { 0 }, release { 0 };
    std::atomic<bool> posted = false;
};

TEST(ThreadPeriodicTimerTest, ClearingTheTickTargetReturnsOnlyOnceAPostInProgressIsDone)
{
    ThreadPeriodicTimer timer;
    SlowPostTarget target;
    SetTickTarget(&target);
    ASSERT_TRUE(StartTickTimer(timer));
    target.posting.acquire();
    std::thread releaser([&target] {
        std::this_thread::sleep_for(20ms);
        target.release.release();
    });
    SetTickTarget(nullptr);
    EXPECT_TRUE(target.posted);
    releaser.join();
    EXPECT_TRUE(StopTickTimer(timer));
}

}
