#include "platform/midi/RtMidiPorts.h"

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/MidiServers.h"
#include "platform/text/TerminalText.h"

namespace {

bool ApiCanStart(RtMidi::Api api)
{
    switch (api) {
    case RtMidi::LINUX_ALSA:
        return !AlsaSequencerFailure();
    case RtMidi::UNIX_JACK:
        return JackServerRuns();
    case RtMidi::RTMIDI_DUMMY:
        return false;
    default:
        return true;
    }
}

void IgnoreRtMidiError(RtMidiError::Type, const std::string&, void*)
{
}

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
                    // Another program chose the name; only the escaped form is ever printed.
                    const std::string shown = EscapeControlCharacters(name);
                    ports.push_back({ api, name, shown + " (" + RtMidi::getApiDisplayName(api) + ")" });
                }
            }
        } catch (const RtMidiError&) {
            // The API failed after its probe (the server went away meanwhile): no ports.
        }
    }
    return ports;
}
