#pragma once

#include <cstdint>
#include <optional>

// A source of periodic callbacks on a thread of its own. The tick timer drives it from
// the UI thread; the callbacks run on the service's thread.
class PeriodicTimerService {
public:
    using Callback = void (*)();

    virtual ~PeriodicTimerService() = default;

    // The shortest period the service can keep, or nothing when it cannot tell.
    virtual std::optional<std::uint32_t> MinimumPeriodMs() = 0;

    // Starts calling callback every periodMs; returns the timer's id, 0 when it cannot start.
    virtual std::uint32_t StartPeriodic(std::uint32_t periodMs, Callback callback) = 0;

    // Stops the timer. When it returns true, the callback is not running and never runs
    // again for this id.
    virtual bool StopPeriodic(std::uint32_t timerId) = 0;
};
