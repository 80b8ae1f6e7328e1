#pragma once

#include <future>
#include <memory>
#include <optional>
#include <string>

#include "midi/MidiDevice.h"
#include "ui/CommandLine.h"

// The output the command line chose, once opened: the device, or nothing when the program
// ends instead, with `exitCode`, having said why in one "tavo: ..." line.
struct OpenedOutput {
    std::unique_ptr<MidiDevice> device;
    int exitCode = kExitFailure;
};

// Lists the outputs when --midi-out names one, finds it and opens it, or the virtual port
// or the built-in synthesizer, on a thread of its own beside the window's making: a JACK
// client is slow to open and to list its ports. Start it once the refusals have passed,
// since opening the built-in synthesizer truncates an --audio-file take. Its lines go to
// std::cerr, which is not for the UI thread until the future is ready: the listing
// silences it while RtMidi reports a JACK server that does not run.
std::future<OpenedOutput> StartOpeningOutput(CommandLine commandLine);

// The "tavo: no MIDI output matches ..." line when --midi-out names no output that
// exists; nothing otherwise. Lists the outputs on the calling thread.
std::optional<std::string> UnmatchedMidiOutput(const CommandLine& commandLine);
