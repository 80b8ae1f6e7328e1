#pragma once

#include <gtest/gtest.h>

#include "core/AppState.h"
#include "core/TickProcedure.h"
#include "support/Fakes.h"

// A freshly started instrument whose device keeps every message; the core's and the window's fixtures build on it.
class FreshInstrument : public testing::Test {
protected:
    FreshInstrument()
    {
        ResetAppState(state);
        g_tickCount = 0;
        g_spaceLatch = 0;
    }

    static constexpr std::uint32_t NoteOn(std::uint8_t note, std::uint8_t velocity)
    {
        return PackShortMessage(0x90, note, velocity);
    }
    static constexpr std::uint32_t ProgramChange(std::uint8_t program) { return PackShortMessage(0xC0, program); }

    std::shared_ptr<std::vector<std::uint32_t>> sent = std::make_shared<std::vector<std::uint32_t>>();
    AppState state { std::make_unique<RecordingMidiDevice>(sent) };
};
