#include "platform/timer/ThreadPeriodicTimer.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

bool ThreadPeriodicTimer::StartPeriodic(unsigned periodMs, Callback callback)
{
    if (periodMs == 0 || callback == nullptr || thread_.joinable()) {
        return false;
    }
    try {
        thread_ = std::jthread(&ThreadPeriodicTimer::Run, periodMs, callback);
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
    thread_.request_stop();
    thread_.join();
    return true;
}

void ThreadPeriodicTimer::Run(const std::stop_token& stop, unsigned periodMs, Callback callback)
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    const Clock::time_point start = Clock::now();
    Clock::duration::rep periodsElapsed = 1;
    // Only this thread waits here; a stop request wakes it.
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    while (true) {
        wake.wait_until(lock, stop, start + periodsElapsed * period, [] { return false; });
        if (stop.stop_requested()) {
            return;
        }
        callback();
        periodsElapsed = (Clock::now() - start) / period + 1;
    }
}
