#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/timer/ThreadPeriodicTimer.h"
#include "timer/TickTimer.h"

namespace {

using namespace std::chrono_literals;

std::atomic<int> g_calls { 0 };
std::atomic<bool> g_insideCallback { false };

void CountCall()
{
    g_insideCallback = true;
    std::this_thread::sleep_for(1ms);
    ++g_calls;
    g_insideCallback = false;
}

// Stands for the view: takes each tick at once and finishes it right away.
class ImmediateTarget final : public TickTarget {
public:
    bool PostTick() override
    {
        ++posts;
        SetTickPending(0);
        return true;
    }
    std::atomic<int> posts { 0 };
};

void WaitFor(const std::atomic<int>& counter, int atLeast)
{
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (counter < atLeast && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(1ms);
    }
}

TEST(ThreadPeriodicTimerTest, CallsBackRepeatedlyAndNeverAfterStopReturns)
{
    g_calls = 0;
    ThreadPeriodicTimer timer;
    const std::uint32_t id = timer.StartPeriodic(2, &CountCall);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(timer.StartPeriodic(2, &CountCall), 0u) << "one timer at a time";
    WaitFor(g_calls, 5);
    EXPECT_GE(g_calls, 5);
    EXPECT_FALSE(timer.StopPeriodic(id + 1));
    EXPECT_TRUE(timer.StopPeriodic(id));
    EXPECT_FALSE(g_insideCallback);
    const int callsAtStop = g_calls;
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(g_calls, callsAtStop);
    EXPECT_FALSE(timer.StopPeriodic(id));
}

TEST(ThreadPeriodicTimerTest, CanStartAgainAfterStop)
{
    g_calls = 0;
    ThreadPeriodicTimer timer;
    const std::uint32_t first = timer.StartPeriodic(1, &CountCall);
    ASSERT_TRUE(timer.StopPeriodic(first));
    const std::uint32_t second = timer.StartPeriodic(1, &CountCall);
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, first);
    WaitFor(g_calls, 1);
    EXPECT_GE(g_calls, 1);
    EXPECT_TRUE(timer.StopPeriodic(second));
}

TEST(ThreadPeriodicTimerTest, DrivesTheTickHandshakeUntilStopped)
{
    ThreadPeriodicTimer timer;
    ImmediateTarget target;
    SetTickTarget(&target);
    ASSERT_TRUE(StartTickTimer(timer));
    WaitFor(target.posts, 3);
    EXPECT_GE(target.posts, 3);
    ASSERT_TRUE(StopTickTimer(timer));
    const int postsAtStop = target.posts;
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(target.posts, postsAtStop);
    SetTickTarget(nullptr);
}

}

namespace {

// While it lives, no thread can start: the default stack of a new thread would fill the
// whole address space.
class NoThreadCanStart {
public:
    NoThreadCanStart()
    {
        pthread_getattr_default_np(&saved_);
        pthread_attr_t huge;
        pthread_attr_init(&huge);
        pthread_attr_setstacksize(&huge, std::size_t { 1 } << 47);
        pthread_setattr_default_np(&huge);
        pthread_attr_destroy(&huge);
    }
    ~NoThreadCanStart()
    {
        pthread_setattr_default_np(&saved_);
        pthread_attr_destroy(&saved_);
    }

private:
    pthread_attr_t saved_;
};

// Stands for a view whose timer thread is preempted inside the post: the first post
// lasts until `release`.
class SlowPostTarget final : public TickTarget {
public:
    bool PostTick() override
    {
        posting = true;
        while (!release) {
            std::this_thread::yield();
        }
        posted = true;
        return true;
    }
    std::atomic<bool> posting { false };
    std::atomic<bool> release { false };
    std::atomic<bool> posted { false };
};

}

TEST(ThreadPeriodicTimerTest, ATimerThreadTheSystemCannotCreateFailsTheStartCleanly)
{
    ThreadPeriodicTimer timer;
    {
        const NoThreadCanStart noThreads;
        EXPECT_FALSE(StartTickTimer(timer));
        EXPECT_EQ(g_timerId, 0u);
    }
    ASSERT_TRUE(StartTickTimer(timer)) << "the failed start left something behind";
    EXPECT_TRUE(StopTickTimer(timer));
}

TEST(ThreadPeriodicTimerTest, ClearingTheTargetReturnsOnlyOnceAPostInProgressIsDone)
{
    ThreadPeriodicTimer timer;
    SlowPostTarget target;
    SetTickTarget(&target);
    ASSERT_TRUE(StartTickTimer(timer));
    while (!target.posting) {
        std::this_thread::yield();
    }
    std::thread releaser([&target] {
        std::this_thread::sleep_for(20ms);
        target.release = true;
    });
    SetTickTarget(nullptr);
    EXPECT_TRUE(target.posted);
    releaser.join();
    EXPECT_TRUE(StopTickTimer(timer));
}
