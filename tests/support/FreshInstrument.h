#pragma once

#include <gtest/gtest.h>

#include "core/AppState.h"
#include "core/MouseInput.h"
#include "core/TickProcedure.h"
#include "core/Transport.h"
#include "platform/random/CrtRandom.h"
#include "support/Fakes.h"
#include "timer/TickTimer.h"

using Messages = std::vector<std::uint32_t>;

// A freshly started instrument ticked by hand, with fakes for the view, the keyboard and
// the device, which keeps every message; the core's and the window's tests build on it.
class FreshInstrument : public testing::Test {
protected:
    using enum TransportMode;
    FreshInstrument()
    {
        ResetAppState(state);
        g_tickCount = 0, g_spaceLatch = 0;
    }

    static constexpr auto NoteOn(int note, int velocity) { return PackShortMessage(0x90, note, velocity); }
    static constexpr std::uint32_t ProgramChange(std::uint8_t program) { return PackShortMessage(0xC0, program); }

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

    std::shared_ptr<Messages> sent = std::make_shared<Messages>();
    AppState state { std::make_unique<RecordingMidiDevice>(sent) };
    FakeView view;
    FakeKeyboard keyboard;
    CrtRandom random; // draws 41, then 52
    TickServices services { view, keyboard, random };
};
