#include "platform/midi/RtMidiPorts.h"

#include <jack/jack.h>

#include "platform/midi/LibraryErrorLog.h"

namespace {

// RtMidi's JACK back end prints a warning of its own when no server runs, before a
// caller can install an error callback; asking JACK first keeps the terminal clean.
bool JackServerRuns()
{
    jack_status_t status{};
    jack_client_t* probe = jack_client_open("tavo-probe", JackNoStartServer, &status);
    if (probe == nullptr) {
        return false;
    }
    jack_client_close(probe);
    return true;
}

bool ApiCanStart(RtMidi::Api api)
{
    return api != RtMidi::RTMIDI_DUMMY && (api != RtMidi::UNIX_JACK || JackServerRuns());
}

void IgnoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

} // namespace

std::vector<RtMidiPort> ListRtMidiPorts()
{
    PrepareSoundLibraries();
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    std::vector<RtMidiPort> ports;
    for (const RtMidi::Api api : apis) {
        if (!ApiCanStart(api)) {
            continue;
        }
        try {
            RtMidiOut lister(api, "Tavo");
            lister.setErrorCallback(IgnoreRtMidiError);
            const unsigned count = lister.getPortCount();
            for (unsigned index = 0; index < count; ++index) {
                std::string name = lister.getPortName(index);
                if (!name.empty()) {
                    ports.push_back({api, name, name + " (" + RtMidi::getApiDisplayName(api) + ")"});
                }
            }
        } catch (const RtMidiError&) {
            // This API cannot start here (with no /dev/snd/seq, ALSA throws): it has no ports.
        }
    }
    return ports;
}
