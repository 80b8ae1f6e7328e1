#pragma once

#include "core/TickProcedure.h"
#include "platform/random/CrtRandom.h"
#include "support/FakeKeyboard.h"
#include "support/FakeView.h"
#include "support/FreshInstrument.h"

// A freshly started instrument ticked by hand, with fakes for the view and the keyboard.
class CoreFixture : public FreshInstrument {
protected:
    void Tick() { OnTick(state, services); }
    void TickTimes(int count)
    {
        for (int i = 0; i < count; ++i) {
            Tick();
        }
    }
    // Runs the start-up flush so the next tick polls the keyboard.
    void SkipFlush() { TickTimes(kFirstPollingTick - 1); }

    FakeView view;
    FakeKeyboard keyboard;
    CrtRandom random;
    TickServices services { view, keyboard, random };
};
