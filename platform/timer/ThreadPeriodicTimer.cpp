#include "platform/timer/ThreadPeriodicTimer.h"

#include <chrono>
#include <system_error>

namespace {
constexpr std::uint32_t kMinimumPeriodMs = 1;
}

ThreadPeriodicTimer::~ThreadPeriodicTimer()
{
    Join();
}

std::optional<std::uint32_t> ThreadPeriodicTimer::MinimumPeriodMs()
{
    return kMinimumPeriodMs;
}

std::uint32_t ThreadPeriodicTimer::StartPeriodic(std::uint32_t periodMs, Callback callback)
{
    if (periodMs < kMinimumPeriodMs || callback == nullptr) {
        return 0;
    }
    std::lock_guard lock(mutex_);
    if (runningId_ != 0) {
        return 0;
    }
    stopRequested_ = false;
    const std::uint32_t id = ++lastId_ != 0 ? lastId_ : ++lastId_;
    try {
        thread_ = std::thread(&ThreadPeriodicTimer::Run, this, periodMs, callback);
    } catch (const std::system_error&) {
        // The system has no thread to spare: the timer does not start, and nothing of
        // the attempt stays behind.
        return 0;
    }
    runningId_ = id;
    return runningId_;
}

bool ThreadPeriodicTimer::StopPeriodic(std::uint32_t timerId)
{
    {
        std::lock_guard lock(mutex_);
        if (timerId == 0 || timerId != runningId_) {
            return false;
        }
        runningId_ = 0;
    }
    Join();
    return true;
}

void ThreadPeriodicTimer::Join()
{
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ThreadPeriodicTimer::Run(std::uint32_t periodMs, Callback callback)
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    const Clock::time_point start = Clock::now();
    Clock::duration::rep periodsElapsed = 1;
    std::unique_lock lock(mutex_);
    while (true) {
        const Clock::time_point deadline = start + periodsElapsed * period;
        if (wake_.wait_until(lock, deadline, [this] { return stopRequested_; })) {
            return;
        }
        lock.unlock();
        callback();
        lock.lock();
        periodsElapsed = (Clock::now() - start) / period + 1;
    }
}
