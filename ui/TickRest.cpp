#include "ui/TickRest.h"

#include "core/TickProcedure.h"
#include "timer/TickTimer.h"

TickRest::TickRest(
    const AppState& state, KeyPressWaker& waker, PeriodicTimerService& timer, std::function<void()> runTick)
    : state_(state)
    , waker_(waker)
    , timer_(timer)
    , runTick_(std::move(runTick))
    , keyEvents_(waker.WakeDescriptor(), QSocketNotifier::Read)
{
    keyEvents_.setEnabled(false);
    QObject::connect(&keyEvents_, &QSocketNotifier::activated, [this] { OnKeyEvent(); });
}

void TickRest::AfterTick()
{
    const bool mayRest = TicksMayRest(state_) && waker_.KeyboardIsQuiet();
    if (mayRest && !sleeping_) {
        sleeping_ = StopTickTimer(timer_);
    } else if (!mayRest && sleeping_) {
        // Should the timer not start again, every key event still runs its tick.
        sleeping_ = !StartTickTimer(timer_);
    }
    keyEvents_.setEnabled(sleeping_);
}

void TickRest::Wake()
{
    if (sleeping_ && StartTickTimer(timer_)) {
        sleeping_ = false;
        keyEvents_.setEnabled(false);
    }
}

void TickRest::OnKeyEvent()
{
    keyEvents_.setEnabled(false);
    // The timer is stopped, so no tick is in flight; this one clears the pending flag
    // like any other and decides on the next sleep.
    runTick_();
}
