#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "timer/PeriodicTimerService.h"

// Periodic callbacks from a thread of its own that sleeps to absolute deadlines on the
// monotonic clock (start + n x period), so lateness in one period never shifts the
// next. Deadlines missed altogether (a stalled machine) are skipped, not made up in a
// burst. One timer at a time. Start and stop run on the caller's thread; the callback
// runs on the timer thread.
class ThreadPeriodicTimer final : public PeriodicTimerService {
public:
    ThreadPeriodicTimer() = default;
    ~ThreadPeriodicTimer() override;
    ThreadPeriodicTimer(const ThreadPeriodicTimer&) = delete;
    ThreadPeriodicTimer& operator=(const ThreadPeriodicTimer&) = delete;

    std::optional<std::uint32_t> MinimumPeriodMs() override;
    // 0 also when the system cannot create the thread.
    std::uint32_t StartPeriodic(std::uint32_t periodMs, Callback callback) override;
    // Wakes the thread and joins it before returning.
    bool StopPeriodic(std::uint32_t timerId) override;

private:
    void Run(std::uint32_t periodMs, Callback callback);
    void Join();

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    std::uint32_t runningId_ = 0;
    std::uint32_t lastId_ = 0;
    std::thread thread_;
};
