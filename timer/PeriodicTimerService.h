#pragma once

// A source of periodic callbacks on a thread of its own, one timer at a time. The tick
// timer drives it from the UI thread; the callbacks run on the service's thread.
class PeriodicTimerService {
public:
    using Callback = void (*)();

    virtual ~PeriodicTimerService() = default;

    // Starts calling callback every periodMs; false when a timer already runs or none can start.
    virtual bool StartPeriodic(unsigned periodMs, Callback callback) = 0;

    // Stops the timer; false when none runs. Once it returns, the callback is not running
    // and never runs again.
    virtual bool StopPeriodic() = 0;
};
