#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/midi/MidiOutputSettings.h"

// Exit codes of the command line, GNU style.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct CommandLine {
    enum class Action {
        Run, // open the window
        ListMidiOutputs, // print the devices and exit 0
        Exit, // print output and error, then exit with exitCode
    };
    Action action = Action::Run;
    int exitCode = kExitSuccess;
    std::string output; // for standard output (help, version)
    std::string error; // for standard error, ending in a newline
    std::optional<std::string> midiOut; // --midi-out as given: an index or part of a name
    std::optional<std::string> virtualPort; // --virtual-port: the name of Tavo's own output port
    std::string midiFile; // --midi-file, absolute: where every message sent is kept; empty: nowhere
    MidiOutputSettings settings;
};

// Parses the arguments that follow the program's name, kept as the bytes they are, so
// that file and port names reach the system unchanged, the file names made absolute from
// the current folder. Needs no QApplication, so --help, --version and errors work without
// a display. Any thread, before anything changes the current folder.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The --list-midi-outputs text: one "N: name" line per device.
std::string FormatMidiOutputList(const std::vector<std::string>& devices);
