#pragma once

#include "core/MouseInput.h"
#include "core/Transport.h"
#include "platform/random/CrtRandom.h"
#include "support/Fakes.h"
#include "support/FreshInstrument.h"
#include "timer/TickTimer.h"

using Messages = std::vector<std::uint32_t>;

// A freshly started instrument ticked by hand, with fakes for the view and the keyboard.
class CoreFixture : public FreshInstrument {
protected:
    using enum TransportMode;
    // Each tick comes in with the timer's pending flag set and must leave it cleared.
    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            SetTickPending(1);
            OnTick(state, services);
            ASSERT_EQ(g_tickPending, 0) << "the tick left the timer's pending flag set";
        }
    }
    void SkipFlush() { Tick(kFirstPollingTick - 1); }

    FakeView view;
    FakeKeyboard keyboard;
    CrtRandom random; // draws 41, then 52
    TickServices services { view, keyboard, random };
};
