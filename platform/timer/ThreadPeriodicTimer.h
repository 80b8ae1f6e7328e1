#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "timer/PeriodicTimerService.h"

// Periodic callbacks from a thread of its own that sleeps to absolute deadlines on the
// monotonic clock (start + n x period), so lateness in one period never shifts the
// next. Deadlines missed altogether (a stalled machine) are skipped, not made up in a
// burst. Start and stop run on the caller's thread; the callback runs on the timer thread.
class ThreadPeriodicTimer final : public PeriodicTimerService {
public:
    ThreadPeriodicTimer() = default;
    ~ThreadPeriodicTimer() override;
    ThreadPeriodicTimer(const ThreadPeriodicTimer&) = delete;
    ThreadPeriodicTimer& operator=(const ThreadPeriodicTimer&) = delete;

    // False also when the system cannot create the thread.
    bool StartPeriodic(unsigned periodMs, Callback callback) override;
    // Wakes the thread and joins it before returning.
    bool StopPeriodic() override;

private:
    void Run(unsigned periodMs, Callback callback);

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    std::thread thread_;
};
