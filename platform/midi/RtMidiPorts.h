#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <RtMidi.h>

// One MIDI output port of the system, as one RtMidi API sees it.
struct RtMidiPort {
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    std::string portName; // RtMidi's name of the port
    std::string displayName; // the port's name, control characters escaped, with its API: "Midi Through:... (ALSA)"
};

// Every output port of every RtMidi API compiled in that works here, API by API in
// RtMidi's order of preference, and the client of each API that listed some: a port
// opened on that client costs no second one (a JACK client takes tens of milliseconds to
// open and as many to close). An API that cannot start (no /dev/snd/seq, no JACK server)
// adds nothing and prints nothing: std::cerr shows nothing while a client opens. Any
// thread.
struct RtMidiPorts {
    std::vector<RtMidiPort> ports;
    std::map<RtMidi::Api, std::unique_ptr<RtMidiOut>> clients;
};
RtMidiPorts ListRtMidiPorts();
