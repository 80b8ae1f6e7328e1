#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/AppState.h"
#include "core/TickProcedure.h"
#include "platform/random/CrtRandom.h"
#include "support/FakeKeyboard.h"
#include "support/FakeLockKeys.h"
#include "support/FakePeriodicTimer.h"
#include "support/RecordingMidiDevice.h"

// A freshly started instrument for the window's tests: state reset, tick globals at
// zero, a recording device, fakes for the keyboard, the locks and the timer.
class UiFixture : public testing::Test {
protected:
    UiFixture()
    {
        ResetAppState(state);
        g_tickCount = 0;
        g_spaceLatch = 0;
    }

    static constexpr std::uint32_t NoteOn(std::uint8_t note, std::uint8_t velocity)
    {
        return PackShortMessage(0x90, note, velocity);
    }
    static constexpr bool IsProgramChange(std::uint32_t message) { return (message & 0xF0) == 0xC0; }

    // The note-on messages sent so far, program changes left out.
    std::vector<std::uint32_t> NotesSent() const
    {
        std::vector<std::uint32_t> notes;
        for (const std::uint32_t message : *sent) {
            if (!IsProgramChange(message)) {
                notes.push_back(message);
            }
        }
        return notes;
    }
    int ProgramChangesSent() const
    {
        return static_cast<int>(std::count_if(sent->begin(), sent->end(), IsProgramChange));
    }

    std::shared_ptr<std::vector<std::uint32_t>> sent = std::make_shared<std::vector<std::uint32_t>>();
    AppState state { std::make_unique<RecordingMidiDevice>(sent) };
    FakeKeyboard keyboard;
    FakeLockKeys locks;
    FakePeriodicTimer timer;
    CrtRandom random;
};
