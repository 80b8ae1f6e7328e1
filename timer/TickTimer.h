#pragma once

#include <atomic>
#include <cstdint>

#include "timer/PeriodicTimerService.h"

// The 10 ms clock of the program and its one-tick-in-flight handshake: the timer thread
// posts a tick only while none is pending, and the tick's handler clears the flag when
// it is done, so a slow tick delays the clock instead of queueing ticks.

inline constexpr unsigned kTickPeriodMs = 10;
// The event type that carries a tick to the view.
inline constexpr int WM_TICK = 1034;

// Where ticks go. PostTick runs on the timer thread and must only queue the tick for the
// UI thread; it returns false when the tick could not be queued.
class TickTarget {
public:
    virtual bool PostTick() = 0;

protected:
    ~TickTarget() = default;
};

// Set on the UI thread while the timer is stopped (the view names itself before it
// starts the timer and clears it once the timer has stopped); read by the timer thread.
extern std::atomic<TickTarget*> g_tickTarget;
extern std::atomic<std::uint8_t> g_tickPending;

// UI thread: the tick procedure clears the flag with 0 as its last act.
void SetTickPending(std::uint8_t value);

// UI thread: starts the periodic timer; false when it already runs or cannot start.
bool StartTickTimer(PeriodicTimerService& service);

// UI thread: stops the timer; false when none runs. Once it has returned true, no tick
// reaches the target any more.
bool StopTickTimer(PeriodicTimerService& service);

// UI thread: whether the timer runs.
bool TickTimerRuns();

// Timer thread: posts one tick unless one is pending. A post that fails clears the flag
// again, so the next period tries anew instead of stopping the clock for good.
void TickTimerProc();
