#pragma once

#include <cstdint>
#include <optional>

#include "timer/PeriodicTimerService.h"

// A timer service that never calls back on its own: a test drives ticks by hand.
// It can refuse to start, as a machine without a fine enough timer would.
class FakePeriodicTimer final : public PeriodicTimerService {
public:
    std::optional<std::uint32_t> MinimumPeriodMs() override
    {
        return canStart ? std::optional<std::uint32_t>(1) : std::nullopt;
    }
    std::uint32_t StartPeriodic(std::uint32_t, Callback) override
    {
        running = canStart;
        ++starts;
        return running ? kId : 0;
    }
    bool StopPeriodic(std::uint32_t timerId) override
    {
        const bool stopped = running && timerId == kId;
        running = false;
        return stopped;
    }

    bool canStart = true;
    bool running = false;
    int starts = 0;

private:
    static constexpr std::uint32_t kId = 7;
};
