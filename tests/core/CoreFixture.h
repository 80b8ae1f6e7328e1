#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/AppState.h"
#include "core/TickProcedure.h"
#include "platform/random/CrtRandom.h"
#include "support/FakeKeyboard.h"
#include "support/FakeView.h"
#include "support/RecordingMidiDevice.h"

// A freshly started instrument: state reset, tick globals at zero, a recording device.
class CoreFixture : public testing::Test {
protected:
    CoreFixture()
    {
        ResetAppState(state);
        g_tickCount = 0;
        g_spaceLatch = 0;
    }

    void Tick() { OnTick(state, services); }
    void TickTimes(int count)
    {
        for (int i = 0; i < count; ++i) {
            Tick();
        }
    }
    // Runs the start-up flush so the next tick polls the keyboard.
    void SkipFlush() { TickTimes(kFirstPollingTick - 1); }

    static constexpr std::uint32_t NoteOn(std::uint8_t note, std::uint8_t velocity)
    {
        return PackShortMessage(0x90, note, velocity);
    }
    static constexpr std::uint32_t ProgramChange(std::uint8_t program) { return PackShortMessage(0xC0, program); }

    std::shared_ptr<std::vector<std::uint32_t>> sent = std::make_shared<std::vector<std::uint32_t>>();
    AppState state { std::make_unique<RecordingMidiDevice>(sent) };
    FakeView view;
    FakeKeyboard keyboard;
    CrtRandom random;
    TickServices services { view, keyboard, random };
};
