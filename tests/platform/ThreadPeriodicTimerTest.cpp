#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/timer/ThreadPeriodicTimer.h"

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
TEST(ThreadPeriodicTimerTest, SkipsPeriodsMissedInAStallAndStopsOnce)
{
    ThreadPeriodicTimer timer;
    ASSERT_TRUE(timer.StartPeriodic(2, &StallOnTheFirstCall));
    EXPECT_FALSE(timer.StartPeriodic(2, &StallOnTheFirstCall)) << "one timer at a time";
    while (g_calls < 8) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(timer.StopPeriodic());
    EXPECT_FALSE(timer.StopPeriodic());
    const int callsAtStop = g_calls;
    EXPECT_LE(callsAtStop, 3 + (Clock::now() - g_stallEnded.load()) / 2ms);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(g_calls, callsAtStop) << "a call after StopPeriodic returned";
}

}
