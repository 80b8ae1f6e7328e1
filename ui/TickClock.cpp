#include "ui/TickClock.h"

#include <algorithm>

#include "core/TickProcedure.h"

TickClock::TickClock(TickTarget& target, const AppState& state, KeyStateSource& keys, PeriodicTimerService& timer,
    std::function<void()> runTick)
    : target_(target)
    , state_(state)
    , keys_(keys)
    , timer_(timer)
    , runTick_(std::move(runTick))
{
    if (keys_.RestWakeDescriptor() >= 0) {
        keyEvents_ = std::make_unique<QSocketNotifier>(keys_.RestWakeDescriptor(), QSocketNotifier::Read);
        keyEvents_->setEnabled(false);
        QObject::connect(keyEvents_.get(), &QSocketNotifier::activated, [this] { OnKeyEvent(); });
    }
}

TickClock::~TickClock()
{
    StopTickTimer(timer_);
    g_tickTarget = nullptr;
}

bool TickClock::Start()
{
    g_tickTarget = &target_;
    return StartTickTimer(timer_);
}

bool TickClock::MayRest() const
{
    // Recording and playing advance on every tick, a held space bar waits for its
    // release, a sounding key for its release, and the first ticks empty the keys'
    // pressed-since memory.
    if (!keyEvents_ || state_.mode != TransportMode::ModeStop || g_spaceLatch != 0
        || g_tickCount < kFirstPollingTick - 1) {
        return false;
    }
    const bool anySounds
        = std::any_of(state_.keys.begin(), state_.keys.end(), [](const PianoKey& key) { return key.down != 0; });
    return !anySounds && keys_.KeysAtRest();
}

void TickClock::AfterTick()
{
    const bool mayRest = MayRest();
    if (mayRest && !resting_) {
        resting_ = StopTickTimer(timer_);
    } else if (!mayRest && resting_) {
        // Should the timer not start again, every key event still runs its tick.
        resting_ = !StartTickTimer(timer_);
    }
    if (keyEvents_) {
        keyEvents_->setEnabled(resting_);
    }
}

void TickClock::Run()
{
    if (resting_ && StartTickTimer(timer_)) {
        resting_ = false;
        keyEvents_->setEnabled(false);
    }
}

void TickClock::OnKeyEvent()
{
    keyEvents_->setEnabled(false);
    // The timer is stopped, so no tick is in flight; this one clears the pending flag
    // like any other and decides on the next rest.
    runTick_();
}
