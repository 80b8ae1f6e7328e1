#include "platform/midi/RtMidiVirtualOutputDevice.h"

#include <jack/jack.h>

#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/RtMidiSender.h"

namespace {

constexpr const char* kClientName = "Tavo";

// JACK renames a client whose name is taken ("Tavo-01") and RtMidi keeps its client to
// itself, so Tavo's port is told by name from the server's list: the port named
// `portName` that appeared while Tavo opened its own.
class JackPortWatch {
public:
    explicit JackPortWatch(std::string portName)
        : portName_(std::move(portName))
    {
        jack_status_t status {};
        lister_ = jack_client_open("tavo-probe", JackNoStartServer, &status);
        before_ = PortsNamed();
    }
    ~JackPortWatch()
    {
        if (lister_ != nullptr) {
            jack_client_close(lister_);
        }
    }
    JackPortWatch(const JackPortWatch&) = delete;
    JackPortWatch& operator=(const JackPortWatch&) = delete;

    // The full name of the new port, or the name JACK gives it when "Tavo" is free.
    std::string NewPort() const
    {
        for (const std::string& port : PortsNamed()) {
            if (!before_.contains(port)) {
                return port;
            }
        }
        return std::string(kClientName) + ":" + portName_;
    }

private:
    std::set<std::string> PortsNamed() const
    {
        std::set<std::string> named;
        if (lister_ == nullptr) {
            return named;
        }
        const char** ports = jack_get_ports(lister_, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
        for (const char** port = ports; port != nullptr && *port != nullptr; ++port) {
            if (std::string_view(*port).ends_with(":" + portName_)) {
                named.insert(*port);
            }
        }
        jack_free(static_cast<void*>(ports));
        return named;
    }

    std::string portName_;
    jack_client_t* lister_ = nullptr;
    std::set<std::string> before_;
};

} // namespace

std::unique_ptr<MidiDevice> OpenRtMidiVirtualOutput(RtMidi::Api api, const std::string& portName, std::ostream& errors)
{
    PrepareSoundLibraries();
    const std::string where = api == RtMidi::UNIX_JACK ? "JACK" : "the ALSA sequencer";
    std::optional<JackPortWatch> jackPorts;
    if (api == RtMidi::UNIX_JACK) {
        jackPorts.emplace(portName);
    }
    std::string lastError;
    std::unique_ptr<RtMidiOut> output;
    try {
        output = std::make_unique<RtMidiOut>(api, kClientName);
        output->setErrorCallback(RecordRtMidiError, &lastError);
        output->openVirtualPort(portName);
    } catch (const RtMidiError& error) {
        lastError = error.getMessage();
    }
    // RtMidi reports no virtual port as open (isPortOpen is for ports it connected to),
    // so only an error tells a failure.
    if (!output || !lastError.empty()) {
        errors << "tavo: cannot open the MIDI port \"" << portName << "\" on " << where << " (" << lastError << ")\n";
        return nullptr;
    }
    const std::string opened = jackPorts ? "JACK MIDI port " + jackPorts->NewPort()
                                         : "ALSA sequencer port \"" + portName + "\" of client \"" + kClientName + "\"";
    jackPorts.reset();
    errors << "tavo: playing on the " << opened << '\n';
    return std::make_unique<RtMidiSender>(std::move(output), opened, errors);
}
