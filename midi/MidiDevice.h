#pragma once

#include <cstdint>

// One MIDI output device. A back end opens its device in its constructor and closes it
// in its destructor; a device that failed to open drops every message silently.
// Only the UI thread calls it.
class MidiDevice {
public:
    virtual ~MidiDevice() = default;

    // Sends one short message, packed as ShortMessage.h says. Messages reach the device
    // in call order.
    virtual void SendShortMessage(std::uint32_t message) = 0;

    // Called once, when the window shows: a device may leave the slow part of its opening
    // (loading a library, a soundfont) until then, so as not to hold up the window; it
    // keeps the messages sent before and plays them in order once it can.
    virtual void OnWindowShown() { }
};

// The device used when no other can be opened: the program then runs on without sound.
class NullMidiDevice final : public MidiDevice {
public:
    void SendShortMessage(std::uint32_t) override { }
};
