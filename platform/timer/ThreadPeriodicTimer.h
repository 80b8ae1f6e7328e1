#pragma once

#include <stop_token>
#include <thread>

#include "timer/PeriodicTimerService.h"

// Periodic callbacks from a thread of its own that sleeps to absolute deadlines on the
// monotonic clock (start + n x period), so lateness in one period never shifts the
// next. Deadlines missed altogether (a stalled machine) are skipped, not made up in a
// burst. Start and stop run on the caller's thread; the callback runs on the timer
// thread. The thread is stopped and joined when the timer goes.
class ThreadPeriodicTimer final : public PeriodicTimerService {
public:
    // False also when the system cannot create the thread.
    bool StartPeriodic(unsigned periodMs, Callback callback) override;
    // Wakes the thread and joins it before returning.
    bool StopPeriodic() override;

private:
    static void Run(const std::stop_token& stop, unsigned periodMs, Callback callback);

    std::jthread thread_;
};
