#pragma once

#include <cstdint>

// One MIDI output device. A back end opens its device in its constructor and closes it
// in its destructor; a device that failed to open drops every message silently.
// Only the UI thread calls it.
class MidiDevice {
public:
    virtual ~MidiDevice() = default;

    // Sends one packed short message: status in bits 0-7, first data byte in bits 8-15,
    // second data byte in bits 16-23. Messages reach the device in call order.
    virtual void SendShortMessage(std::uint32_t message) = 0;
};

// The device used when no other can be opened: the program then runs on without sound.
class NullMidiDevice final : public MidiDevice {
public:
    void SendShortMessage(std::uint32_t) override { }
};
