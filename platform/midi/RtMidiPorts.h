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

// Every output port of every RtMidi API that works here, in RtMidi's order of
// preference, and the client of each API that listed some: a port opened on that client
// costs no second client, slow to open and to close on JACK. An API that cannot start
// (no /dev/snd/seq, no JACK server) adds nothing and prints nothing. Any thread.
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

// Opens `port` on `client`, the client that listed it. When the port cannot be opened,
// says so on `errors` and returns a device that drops every message. Any thread; the
// device is then used on the UI thread only.
std::unique_ptr<MidiDevice> OpenRtMidiPort(
    const RtMidiPort& port, std::unique_ptr<RtMidiOut> client, std::ostream& errors);
