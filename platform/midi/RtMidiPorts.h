#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <RtMidi.h>

#include "midi/MidiDevice.h"

// One MIDI output port of the system, as one RtMidi API sees it.
struct RtMidiPort {
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    std::string portName; // RtMidi's name of the port
    std::string displayName; // the port's name, control characters escaped, with its API: "Midi Through:... (ALSA)"
};

// Every output port of every RtMidi API compiled in that works here, API by API in
// RtMidi's order of preference, and the client of each API that listed some: a port
// opened on that client costs no second client, which is slow to open and to close on
// JACK. An API that cannot start (no /dev/snd/seq, no JACK server)
// adds nothing and prints nothing: std::cerr shows nothing while a client opens. Any
// thread.
struct RtMidiPorts {
    std::vector<RtMidiPort> ports;
    std::map<RtMidi::Api, std::unique_ptr<RtMidiOut>> clients;
};
RtMidiPorts ListRtMidiPorts();

// Why the ALSA sequencer cannot be opened ("No such file or directory" without
// /dev/snd/seq); nothing when it opens. RtMidi prints a line of its own when its ALSA
// back end cannot start, before a caller can install an error callback; asking alsa-lib
// first keeps the terminal clean. Any thread.
std::optional<std::string> AlsaSequencerFailure();

// One of the system's MIDI output ports through RtMidi (an RtMidiSender), opened on
// `client`, the client that listed it. When
// the port cannot be opened, says so on `errors` and returns a device that drops every
// message. Any thread; the device is then used on the UI thread only.
std::unique_ptr<MidiDevice> OpenRtMidiPort(
    const RtMidiPort& port, std::unique_ptr<RtMidiOut> client, std::ostream& errors);
