#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

#include "core/AppState.h"
#include "core/KeyStateSource.h"
#include "timer/TickTimer.h"

// The program's 10 ms clock, and the one place that decides when it stops. The clock
// rests while no tick can change anything, instead of waking the program a hundred
// times a second, and runs again for the next key event, mouse press or transport
// command. It rests only on a key reader that hears of every press as an event: with
// steady polling a press between two looks would be lost. UI thread.
class TickClock final {
public:
    // The timer's ticks go to `target`; `runTick` handles one tick at once, as a tick
    // from the timer is handled.
    TickClock(TickTarget& target, const AppState& state, KeyStateSource& keys, PeriodicTimerService& timer,
        std::function<void()> runTick);
    // Stops the timer, then clears the tick target: no tick is posted once the clock is gone.
    ~TickClock();

    // Names the target and starts the timer; false when it cannot start, and the program
    // runs without ticks.
    bool Start();
    // After every handled tick: rests when nothing can change until the next key event,
    // and runs again when a tick run by that event finds work to do.
    void AfterTick();
    // For what needs ticks (recording, playing, a clicked key the next poll releases):
    // the next tick comes one period later, as it would have without the rest.
    void Run();

private:
    bool MayRest() const;
    // A key event came in while the clock rested: its tick runs now, not a period later.
    void OnKeyEvent();

    TickTarget& target_;
    const AppState& state_;
    KeyStateSource& keys_;
    PeriodicTimerService& timer_;
    std::function<void()> runTick_;
    std::unique_ptr<QSocketNotifier> keyEvents_;
    bool resting_ = false;
};
