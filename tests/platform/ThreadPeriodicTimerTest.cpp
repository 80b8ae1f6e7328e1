#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/timer/ThreadPeriodicTimer.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// When each call began, and when the first one, stalling the thread for 25 periods, ended.
std::array<Clock::time_point, 64> g_calledAt;
Clock::time_point g_stallEnded;
std::atomic<std::size_t> g_calls = 0;

void RecordCall()
{
    const std::size_t call = g_calls;
    g_calledAt[std::min(call, g_calledAt.size() - 1)] = Clock::now();
    if (call == 0) {
        std::this_thread::sleep_for(50ms);
        g_stallEnded = Clock::now();
    }
    g_calls = call + 1;
}

TEST(ThreadPeriodicTimerTest, SkipsPeriodsMissedInAStallAndStopsOnlyForItsOwnId)
{
    ThreadPeriodicTimer timer;
    const std::uint32_t id = timer.StartPeriodic(2, &RecordCall);
    ASSERT_NE(id, 0U);
    for (const auto giveUp = Clock::now() + 5s; g_calls < 8 && Clock::now() < giveUp;) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(timer.StopPeriodic(id + 1));
    ASSERT_TRUE(timer.StopPeriodic(id));
    const std::size_t callsAtStop = g_calls;
    ASSERT_GE(callsAtStop, 8U);
    // Once the stall is over the calls keep to whole periods, with none made up in a burst.
    for (int call = 1; call < 8; ++call) {
        EXPECT_GE(g_calledAt[call] - g_stallEnded, (call - 1) * 2ms) << "call " << call;
    }
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(g_calls, callsAtStop) << "a call after StopPeriodic returned";
}

}
