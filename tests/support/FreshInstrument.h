#pragma once

#include <gtest/gtest.h>

#include "core/AppState.h"
#include "core/KeyStateSource.h"
#include "core/MouseInput.h"
#include "core/TickProcedure.h"
#include "core/Transport.h"
#include "platform/keys/PressedSinceMemory.h"
#include "platform/random/CrtRandom.h"
#include "timer/TickTimer.h"

// A keyboard the test drives by hand: down-now state, and per key a memory of a press since its last query.
class FakeKeyboard : public KeyStateSource {
public:
    void Press(int virtualKey) { down_.at(virtualKey) = pressedSinceQuery_.at(virtualKey) = true; }
    void Release(int virtualKey) { down_.at(virtualKey) = false; }
    void Tap(int virtualKey) { Press(virtualKey), Release(virtualKey); }

    void Refresh() override { ++refreshes; }
    std::uint16_t GetAsyncKeyState(int virtualKey) override
    {
        queries.push_back(virtualKey);
        return KeyStateWord(down_.at(virtualKey), std::exchange(pressedSinceQuery_.at(virtualKey), false));
    }

    int refreshes = 0;
    std::vector<int> queries;

private:
    std::array<bool, 256> down_ {}, pressedSinceQuery_ {};
};

// Records what the rules asked of the view.
class FakeView final : public ViewSurface {
public:
    void InvalidateRect(const Rect& area) override { invalidated.push_back(area); }
    void InvalidateAll() override { ++wholeViewRepaints; }
    void ShowMessage(const char* text) override { messages.emplace_back(text); }

    std::vector<Rect> invalidated;
    int wholeViewRepaints = 0;
    std::vector<std::string> messages;
};

// Keeps every message sent, in order, in a list the test shares with the port that owns the device.
struct RecordingMidiDevice final : MidiDevice {
    explicit RecordingMidiDevice(std::shared_ptr<std::vector<std::uint32_t>> sent)
        : sent(std::move(sent))
    {
    }
    void SendShortMessage(std::uint32_t message) override { sent->push_back(message); }
    std::shared_ptr<std::vector<std::uint32_t>> sent;
};

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
