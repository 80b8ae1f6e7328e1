#include "timer/TickTimer.h"

#include <thread>

std::atomic<TickTarget*> g_tickTarget { nullptr };
std::atomic<std::uint8_t> g_tickPending { 0 };
std::atomic<std::uint32_t> g_timerId { 0 };

namespace {

// Callbacks that may hold the target they read: counted before the read, so a thread
// that replaced the target and then finds the count at 0 knows no callback still holds
// the old one.
std::atomic<int> g_callbacksHoldingTarget { 0 };

class HoldingTarget {
public:
    HoldingTarget() { ++g_callbacksHoldingTarget; }
    ~HoldingTarget() { --g_callbacksHoldingTarget; }
    HoldingTarget(const HoldingTarget&) = delete;
    HoldingTarget& operator=(const HoldingTarget&) = delete;
};

}

void SetTickTarget(TickTarget* target)
{
    g_tickTarget = target;
    // A callback's post takes microseconds, so waiting for it beats any lock on the
    // callback's path.
    while (g_callbacksHoldingTarget != 0) {
        std::this_thread::yield();
    }
}

void SetTickPending(std::uint8_t value)
{
    g_tickPending = value;
}

bool StartTickTimer(PeriodicTimerService& service)
{
    if (g_timerId != 0) {
        return false;
    }
    const auto minimumPeriod = service.MinimumPeriodMs();
    if (!minimumPeriod || kTickPeriodMs < *minimumPeriod) {
        return false;
    }
    // Cleared before the thread starts: clearing it afterwards could wipe out the first
    // tick's flag while that tick is queued and let a second one in behind it.
    g_tickPending = 0;
    const std::uint32_t id = service.StartPeriodic(kTickPeriodMs, &TickTimerProc);
    if (id == 0) {
        return false;
    }
    g_timerId = id;
    return true;
}

bool StopTickTimer(PeriodicTimerService& service)
{
    const std::uint32_t id = g_timerId;
    if (id == 0) {
        return false;
    }
    if (!service.StopPeriodic(id)) {
        return false;
    }
    g_timerId = 0;
    return true;
}

void TickTimerProc()
{
    if (g_tickPending != 0) {
        return;
    }
    const HoldingTarget holding;
    TickTarget* target = g_tickTarget;
    if (target == nullptr) {
        return;
    }
    g_tickPending = 1;
    if (!target->PostTick()) {
        g_tickPending = 0;
    }
}
