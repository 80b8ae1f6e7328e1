#include "platform/timer/ThreadPeriodicTimer.h"

#include <chrono>
#include <system_error>

ThreadPeriodicTimer::~ThreadPeriodicTimer()
{
    StopPeriodic();
}

bool ThreadPeriodicTimer::StartPeriodic(unsigned periodMs, Callback callback)
{
    if (periodMs == 0 || callback == nullptr || thread_.joinable()) {
        return false;
    }
    stopRequested_ = false;
    try {
        thread_ = std::thread(&ThreadPeriodicTimer::Run, this, periodMs, callback);
    } catch (const std::system_error&) {
        // The system has no thread to spare: the timer does not start.
        return false;
    }
    return true;
}

bool ThreadPeriodicTimer::StopPeriodic()
{
    if (!thread_.joinable()) {
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
    return true;
}

void ThreadPeriodicTimer::Run(unsigned periodMs, Callback callback)
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    const Clock::time_point start = Clock::now();
    Clock::duration::rep periodsElapsed = 1;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_until(lock, start + periodsElapsed * period, [this] { return stopRequested_; })) {
        lock.unlock();
        callback();
        lock.lock();
        periodsElapsed = (Clock::now() - start) / period + 1;
    }
}
