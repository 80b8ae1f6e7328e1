#pragma once

#include <QSocketNotifier>

#include <functional>

#include "core/AppState.h"
#include "platform/keys/KeyboardReaders.h"
#include "timer/PeriodicTimerService.h"

// Lets the tick timer sleep while no tick can change anything, instead of waking the
// program a hundred times a second, and wakes it for the next key event, mouse press or
// transport command. Only for a key reader that learns of every press from events: with
// steady polling a press between two looks would be lost. UI thread.
class TickRest final {
public:
    // `runTick` handles one tick at once, as a tick from the timer is handled.
    TickRest(const AppState& state, KeyPressWaker& waker, PeriodicTimerService& timer, std::function<void()> runTick);

    // After every handled tick: stops the timer when nothing can change until the next
    // key event, and starts it again when a tick run by that event finds work to do.
    void AfterTick();
    // Starts the sleeping timer again; its next tick comes one period later, as it would
    // have without the sleep.
    void Wake();

private:
    // A key event came in while the timer slept: its tick runs now, not a period later.
    void OnKeyEvent();

    const AppState& state_;
    KeyPressWaker& waker_;
    PeriodicTimerService& timer_;
    std::function<void()> runTick_;
    QSocketNotifier keyEvents_;
    bool sleeping_ = false;
};
