#include <jack/jack.h>

#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/MidiOutputs.h"
#include "platform/midi/RtMidiPorts.h"
#include "platform/midi/RtMidiSender.h"

namespace {

// One JACK client of Tavo's that tells whether a server runs and then finds Tavo's port
// among the server's: JACK renames a client whose name is taken ("Tavo-01") and RtMidi
// keeps its client to itself, so the port is the one named `portName` that appeared while
// Tavo opened its own.
class JackPortFinder {
public:
    explicit JackPortFinder(std::string portName)
        : portName_(std::move(portName))
    {
        jack_status_t status {};
        client_ = jack_client_open("tavo-probe", JackNoStartServer, &status);
        if (client_ != nullptr) {
            before_ = PortsNamed();
        }
    }
    ~JackPortFinder()
    {
        if (client_ != nullptr) {
            jack_client_close(client_);
        }
    }
    JackPortFinder(const JackPortFinder&) = delete;
    JackPortFinder& operator=(const JackPortFinder&) = delete;

    bool ServerRuns() const { return client_ != nullptr; }

    // The full name of the new port, or the name JACK gives it when the client name is free.
    std::string NewPort() const
    {
        for (const std::string& port : PortsNamed()) {
            if (!before_.contains(port)) {
                return port;
            }
        }
        return std::string(kMidiClientName) + ":" + portName_;
    }

private:
    std::set<std::string> PortsNamed() const
    {
        std::set<std::string> named;
        const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
        for (const char** port = ports; port != nullptr && *port != nullptr; ++port) {
            if (std::string_view(*port).ends_with(":" + portName_)) {
                named.insert(*port);
            }
        }
        jack_free(static_cast<void*>(ports));
        return named;
    }

    std::string portName_;
    jack_client_t* client_ = nullptr;
    std::set<std::string> before_;
};

} // namespace

std::unique_ptr<MidiDevice> OpenVirtualMidiOutput(const std::string& portName, std::ostream& errors)
{
    SetJackNoStartServerAndQuietSoundLibraries();
    std::optional<JackPortFinder> jack(std::in_place, portName);
    if (!jack->ServerRuns()) {
        jack.reset();
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
    const std::string opened = jack ? "JACK MIDI port " + jack->NewPort()
                                    : "ALSA sequencer port \"" + portName + "\" of client \"" + kMidiClientName + "\"";
    jack.reset();
    errors << "tavo: playing on the " << opened << '\n';
    return std::make_unique<RtMidiSender>(std::move(output), opened, errors);
}
