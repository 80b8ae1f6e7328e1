#include <gtest/gtest.h>

#include <thread>

#include "platform/timer/ThreadPeriodicTimer.h"

using namespace std::chrono_literals;

// The first call stalls the timer thread for 25 periods.
static std::atomic<int> g_calls = 0;
static std::atomic<std::chrono::steady_clock::time_point> g_stallEnded;

static void StallOnTheFirstCall()
{
    if (g_calls++ == 0) {
        std::this_thread::sleep_for(50ms);
        g_stallEnded = std::chrono::steady_clock::now();
    }
}

// Once the stall is over the calls keep to whole periods, with none made up in a burst.
TEST(ThreadPeriodicTimerTest, SkipsPeriodsMissedInAStallAndStopsOnce)
{
    ThreadPeriodicTimer timer;
    ASSERT_TRUE(timer.StartPeriodic(2, &StallOnTheFirstCall) && !timer.StartPeriodic(2, &StallOnTheFirstCall))
        << "one timer at a time";
    while (g_calls < 8) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(timer.StopPeriodic() && !timer.StopPeriodic()) << "stops once";
    const int callsAtStop = g_calls;
    EXPECT_LE(callsAtStop, 3 + (std::chrono::steady_clock::now() - g_stallEnded.load()) / 2ms);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(g_calls, callsAtStop) << "a call after StopPeriodic returned";
}
