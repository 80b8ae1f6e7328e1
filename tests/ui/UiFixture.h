#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/random/CrtRandom.h"
#include "support/FakeKeyboard.h"
#include "support/FakeLockKeys.h"
#include "support/FakePeriodicTimer.h"
#include "support/FreshInstrument.h"

// A freshly started instrument for the window's tests, with fakes for the keyboard, the
// locks and the timer.
class UiFixture : public FreshInstrument {
protected:
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

    FakeKeyboard keyboard;
    FakeLockKeys locks;
    FakePeriodicTimer timer;
    CrtRandom random;
};
