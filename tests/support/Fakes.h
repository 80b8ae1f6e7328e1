#pragma once

#include "core/KeyStateSource.h"
#include "core/ViewSurface.h"
#include "midi/MidiDevice.h"
#include "platform/keys/PressedSinceMemory.h"

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
