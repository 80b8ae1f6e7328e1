#include "timer/TickTimer.h"

std::atomic<TickTarget*> g_tickTarget { nullptr };
std::atomic<std::uint8_t> g_tickPending { 0 };

namespace {
bool g_timerRuns = false;
}

void SetTickPending(std::uint8_t value)
{
    g_tickPending = value;
}

bool StartTickTimer(PeriodicTimerService& service)
{
    // A second start would clear the flag below under a tick in flight.
    if (g_timerRuns) {
        return false;
    }
    // Cleared before the thread starts: clearing it afterwards could wipe out the first
    // tick's flag while that tick is queued and let a second one in behind it.
    g_tickPending = 0;
    g_timerRuns = service.StartPeriodic(kTickPeriodMs, &TickTimerProc);
    return g_timerRuns;
}

bool StopTickTimer(PeriodicTimerService& service)
{
    if (!g_timerRuns) {
        return false;
    }
    service.StopPeriodic();
    g_timerRuns = false;
    return true;
}

bool TickTimerRuns()
{
    return g_timerRuns;
}

void TickTimerProc()
{
    if (g_tickPending != 0) {
        return;
    }
    TickTarget* target = g_tickTarget;
    if (target == nullptr) {
        return;
    }
    g_tickPending = 1;
    if (!target->PostTick()) {
        g_tickPending = 0;
    }
}
