#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include <RtMidi.h>

#include "midi/MidiDevice.h"

// An output port of Tavo's own, made through RtMidi's virtual ports, that other programs
// (a DAW, a synthesizer) connect to: port `portName` of client "Tavo" on `api`
// (RtMidi::UNIX_JACK or RtMidi::LINUX_ALSA). Sends like any RtMidi output (an
// RtMidiSender), releases included. Says in one line on `errors` which port opened, or
// why none did; null then. Any thread; the device is then used on the UI thread only.
std::unique_ptr<MidiDevice> OpenRtMidiVirtualOutput(RtMidi::Api api, const std::string& portName, std::ostream& errors);
