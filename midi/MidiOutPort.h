#pragma once

#include <cstdint>
#include <memory>

#include "midi/MidiDevice.h"

// The program's one MIDI output: note-on and program change, packed and checked here,
// sent through a device. Owns the device, which is open for as long as the port lives.
// UI thread only.
class MidiOutPort {
public:
    // A port without a device drops every message, like a device that failed to open.
    explicit MidiOutPort(std::unique_ptr<MidiDevice> device);

    // Note-on; a release is a note-on with velocity 0. Refuses, sending nothing,
    // a channel above 15, a note above 127 or a velocity above 127.
    bool NoteOn(std::uint8_t note, std::uint8_t velocity, std::uint8_t channel);

    // Refuses, sending nothing, a channel above 15 or a program above 127.
    bool ProgramChange(std::uint8_t channel, std::uint8_t program);

    // Closes the device now, before the port goes, so that shut-down can bound the time
    // it takes; every later message is dropped.
    void Close();

private:
    std::unique_ptr<MidiDevice> device_;
};

// Short-message packing: status in bits 0-7, data bytes above it.
constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0)
{
    return static_cast<std::uint32_t>(status) | (static_cast<std::uint32_t>(data1) << 8)
        | (static_cast<std::uint32_t>(data2) << 16);
}
