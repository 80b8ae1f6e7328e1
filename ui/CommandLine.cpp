#include "ui/CommandLine.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/midi/AudioFileFormats.h"
#include "platform/midi/MidiOutputs.h"
#include "platform/midi/PlainText.h"

namespace {

constexpr const char* kVersionText = R"(Tavo 1.0
Copyright (C) 2026 the Tavo maintainers
License GPL-3.0-or-later <https://gnu.org/licenses/gpl.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";
constexpr const char* kDefaultVirtualPort = kMidiClientName;

// Written out rather than composed by QCommandLineParser, which cannot offer a value
// that may be left out; the manual page is made from it.
constexpr const char* kHelpText = R"(Usage: tavo [options]
A two-octave MIDI keyboard played from the computer keyboard and the mouse.

Options:
  -h, --help             Show this help and exit.
  -v, --version          Show the version and exit.
  --list-midi-outputs    List the MIDI outputs, one "N: name" line each, and
                         exit.
  --midi-out <N|NAME>    Play on output N of the list, or the first whose name
                         contains NAME (default 0, the built-in synthesizer).
  --virtual-port <NAME>  Play into an output port of Tavo's own named NAME
                         (default "Tavo"; NAME may be left out), which other
                         programs connect to: on JACK when a JACK server runs,
                         else on the ALSA sequencer. Not with --midi-out.
  --soundfont <FILE>     The SoundFont of the built-in synthesizer.
  --audio-driver <NAME>  The built-in synthesizer's audio driver (pulseaudio,
                         jack, alsa, ...).
  --audio-file <FILE>    Render the built-in synthesizer's sound into a file
                         instead of playing it, in the format its extension
                         names: .wav, .flac or .ogg (Ogg Vorbis).
  --midi-file <FILE>     Keep every MIDI message sent, with its time, in a
                         Standard MIDI File (format 0, 1 ms resolution), saved
                         as you play.
)";

enum class Takes { Nothing, Value, ValueOrNothing };

struct OptionSpec {
    std::string_view name;
    std::string_view shortName; // "" when there is none
    Takes takes;
};

// --virtual-port alone means the default name; a word after it is its NAME, since the
// program takes no other words.
constexpr OptionSpec kOptions[] = { { "help", "h", Takes::Nothing }, { "version", "v", Takes::Nothing },
    { "list-midi-outputs", "", Takes::Nothing }, { "midi-out", "", Takes::Value },
    { "virtual-port", "", Takes::ValueOrNothing }, { "soundfont", "", Takes::Value },
    { "audio-driver", "", Takes::Value }, { "audio-file", "", Takes::Value }, { "midi-file", "", Takes::Value } };

CommandLine Exit(int exitCode, std::string output, std::string error)
{
    CommandLine result;
    result.action = CommandLine::Action::Exit;
    result.exitCode = exitCode;
    result.output = std::move(output);
    result.error = std::move(error);
    return result;
}

// Every usage error reads alike: what is wrong, with the argument as it was typed, and
// where to look.
CommandLine UsageError(const std::string& what)
{
    return Exit(kExitUsage, "", "tavo: " + what + "; try 'tavo --help'\n");
}

// A relative name means the folder Tavo was started from, which it leaves for the
// executable's own before any file is opened; absolute from here on, the refusals look at
// the very file that is later opened.
void NameFromStartFolder(std::string& file)
{
    std::error_code error;
    if (const auto absolute = std::filesystem::absolute(file, error); !file.empty() && !error) {
        file = absolute.string();
    }
}

std::string AudioFormatList()
{
    std::vector<std::string> extensions;
    for (const AudioFileFormat& format : AudioFileFormats()) {
        extensions.emplace_back(format.extension);
    }
    return Joined(extensions, ", ");
}

}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    std::map<std::string_view, std::string> given; // by option name, the last value given; "" for none
    std::string unknown; // the first unknown option, as typed
    std::string badValue; // why the last option refused its value
    std::optional<std::string> stray; // the first argument that is no option
    bool optionsEnded = false; // by "--"
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
        } else if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            stray = stray.value_or(argument);
        } else {
            // "-bogus" is one unknown option, not the five short options b, o, g, u and s.
            const std::size_t equals = argument.find('=');
            const std::string typed = argument.substr(0, equals);
            const std::string name = typed.substr(argument[1] == '-' ? 2 : 1);
            const auto* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                [&name](const OptionSpec& o) { return !name.empty() && (name == o.name || name == o.shortName); });
            if (option == std::end(kOptions)) {
                unknown = unknown.empty() ? typed : unknown;
            } else if (equals != std::string::npos && option->takes == Takes::Nothing) {
                badValue = "unexpected value after '" + typed + "'";
            } else if (equals != std::string::npos || option->takes == Takes::Nothing) {
                given[option->name] = equals == std::string::npos ? "" : argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()
                && (option->takes == Takes::Value || !arguments[i + 1].starts_with('-'))) {
                given[option->name] = arguments[++i];
            } else if (option->takes == Takes::ValueOrNothing) {
                given[option->name] = kDefaultVirtualPort;
            } else {
                badValue = "missing value after '" + argument + "'";
            }
        }
    }

    if (!unknown.empty()) {
        return UsageError("unknown option '" + unknown + "'");
    }
    if (!badValue.empty()) {
        return UsageError(badValue);
    }
    if (stray) {
        return UsageError("unexpected argument '" + *stray + "'");
    }
    if (given.contains("help") || given.contains("version")) {
        return Exit(kExitSuccess, given.contains("help") ? kHelpText : kVersionText, "");
    }
    CommandLine result;
    if (given.contains("list-midi-outputs")) {
        result.action = CommandLine::Action::ListMidiOutputs;
        return result;
    }
    if (given.contains("midi-out") && given.contains("virtual-port")) {
        return UsageError("--virtual-port and --midi-out cannot be used together");
    }
    if (given.contains("virtual-port") && given["virtual-port"].empty()) {
        return UsageError("--virtual-port needs a non-empty NAME");
    }
    const auto valueOf = [&given](std::string_view name) {
        const auto found = given.find(name);
        return found == given.end() ? std::nullopt : std::optional(found->second);
    };
    result.midiOut = valueOf("midi-out");
    result.virtualPort = valueOf("virtual-port");
    result.settings.soundfont = valueOf("soundfont").value_or("");
    result.settings.audioDriver = valueOf("audio-driver").value_or("");
    result.settings.audioFile = valueOf("audio-file").value_or("");
    // Without a name the take would silently go to the sound card, or to FluidSynth's
    // own default file in the current folder.
    if (given.contains("audio-file") && result.settings.audioFile.empty()) {
        return UsageError("--audio-file needs a file name");
    }
    if (result.settings.audioDriver == "file" && result.settings.audioFile.empty()) {
        return UsageError("--audio-driver file needs --audio-file FILE");
    }
    if (given.contains("audio-file") && AudioFileFormatOf(result.settings.audioFile) == nullptr) {
        return UsageError(
            "cannot write audio as '" + result.settings.audioFile + "' (the formats are " + AudioFormatList() + ")");
    }
    result.midiFile = valueOf("midi-file").value_or("");
    if (given.contains("midi-file") && result.midiFile.empty()) {
        return UsageError("--midi-file needs a file name");
    }
    for (std::string* file : { &result.settings.soundfont, &result.settings.audioFile, &result.midiFile }) {
        NameFromStartFolder(*file);
    }
    return result;
}

std::string FormatMidiOutputList(const std::vector<std::string>& devices)
{
    return Joined(Numbered(devices), "\n") + "\n";
}
