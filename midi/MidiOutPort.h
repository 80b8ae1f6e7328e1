#pragma once

#include <cstdint>
#include <memory>

#include "midi/MidiDevice.h"
#include "midi/ShortMessage.h"

// The program's one MIDI output: note-on and program change, checked here, packed as
// ShortMessage.h says and sent through a device. Owns the device, which is open for as long as the port lives.
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

    // The window shows: the device may finish opening (MidiDevice::OnWindowShown).
    void OnWindowShown();

    // Closes the device now, before the port goes, so that shut-down can bound the time
    // it takes; every later message is dropped.
    void Close();

private:
    std::unique_ptr<MidiDevice> device_;
};
