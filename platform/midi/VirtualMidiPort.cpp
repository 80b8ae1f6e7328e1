#include <jack/jack.h>

#include <memory>
#include <ostream>
#include <set>
#include <string_view>

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/MidiOutputs.h"
#include "platform/midi/RtMidiPorts.h"
#include "platform/midi/RtMidiSender.h"

namespace {

using JackClient = std::unique_ptr<jack_client_t, decltype(&jack_client_close)>;

// The JACK MIDI output ports named `portName`, whichever client holds them: JACK renames
// a client whose name is taken ("Tavo-01") and RtMidi keeps its client to itself, so
// Tavo's port is the one of these that appeared while Tavo opened its own.
std::set<std::string> JackPortsNamed(jack_client_t* client, const std::string& portName)
{
    std::set<std::string> named;
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
    for (const char** port = ports; port != nullptr && *port != nullptr; ++port) {
        if (std::string_view(*port).ends_with(":" + portName)) {
            named.insert(*port);
        }
    }
    jack_free(static_cast<void*>(ports));
    return named;
}

// The full name of the port that appeared, or the name JACK gives it when the client name is free.
std::string NewJackPort(jack_client_t* client, const std::string& portName, const std::set<std::string>& before)
{
    for (const std::string& port : JackPortsNamed(client, portName)) {
        if (!before.contains(port)) {
            return port;
        }
    }
    return std::string(kMidiClientName) + ":" + portName;
}

} // namespace

std::unique_ptr<MidiDevice> OpenVirtualMidiOutput(const std::string& portName, std::ostream& errors)
{
    SetJackNoStartServerAndQuietSoundLibraries();
    // One JACK client of Tavo's tells whether a server runs and then finds Tavo's port.
    jack_status_t status {};
    JackClient jack(jack_client_open("tavo-probe", JackNoStartServer, &status), jack_client_close);
    const std::set<std::string> before = jack ? JackPortsNamed(jack.get(), portName) : std::set<std::string>();
    if (!jack) {
        if (const auto failure = AlsaSequencerFailure()) {
            errors << "tavo: cannot open the MIDI port \"" << portName
                   << "\": no JACK server is running and the ALSA sequencer cannot be opened (" << *failure << ")\n";
            return nullptr;
        }
    }
    const RtMidi::Api api = jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
    std::string lastError;
    std::unique_ptr<RtMidiOut> output;
    try {
        output = std::make_unique<RtMidiOut>(api, kMidiClientName);
        output->setErrorCallback(RecordRtMidiError, &lastError);
        output->openVirtualPort(portName);
    } catch (const RtMidiError& error) {
        lastError = error.getMessage();
    }
    // RtMidi reports no virtual port as open (isPortOpen is for ports it connected to),
    // so only an error tells a failure.
    if (!output || !lastError.empty()) {
        errors << "tavo: cannot open the MIDI port \"" << portName << "\" on " << (jack ? "JACK" : "the ALSA sequencer")
               << " (" << lastError << ")\n";
        return nullptr;
    }
    const std::string opened = jack ? "JACK MIDI port " + NewJackPort(jack.get(), portName, before)
                                    : "ALSA sequencer port \"" + portName + "\" of client \"" + kMidiClientName + "\"";
    jack.reset();
    errors << "tavo: playing on the " << opened << '\n';
    return std::make_unique<RtMidiSender>(std::move(output), opened, errors);
}
