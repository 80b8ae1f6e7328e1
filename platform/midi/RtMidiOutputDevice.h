#pragma once

#include <iosfwd>
#include <memory>

#include "midi/MidiDevice.h"
#include "platform/midi/RtMidiPorts.h"

// One of the system's MIDI output ports through RtMidi (an RtMidiSender), opened on
// `client`, the client that listed it, or on a client of its own when that is null. When
// the port cannot be opened, says so on `errors` and returns a device that drops every
// message. Any thread; the device is then used on the UI thread only.
std::unique_ptr<MidiDevice> OpenRtMidiOutput(
    const RtMidiPort& port, std::unique_ptr<RtMidiOut> client, std::ostream& errors);
