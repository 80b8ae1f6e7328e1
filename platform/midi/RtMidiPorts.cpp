#include "platform/midi/RtMidiPorts.h"

#include <alsa/asoundlib.h>

#include <iostream>
#include <optional>

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/MidiOutputs.h"
#include "platform/midi/RtMidiSender.h"
#include "platform/text/TerminalText.h"

namespace {

bool ApiCanStart(RtMidi::Api api)
{
    return api == RtMidi::LINUX_ALSA ? !AlsaSequencerFailure() : api != RtMidi::RTMIDI_DUMMY;
}

// RtMidi reports a JACK server that does not run on std::cerr from its constructor,
// before an error callback can be set; the listing prints nothing, so that report goes
// nowhere. Nothing when the API failed.
std::unique_ptr<RtMidiOut> OpenQuietClient(RtMidi::Api api)
{
    std::streambuf* const shown = std::cerr.rdbuf(nullptr);
    std::unique_ptr<RtMidiOut> client;
    try {
        client = std::make_unique<RtMidiOut>(api, kMidiClientName);
        client->setErrorCallback(IgnoreRtMidiError);
    } catch (const RtMidiError&) {
        client.reset();
    }
    std::cerr.rdbuf(shown);
    return client;
}

// The port's index under its API now: ports may have come and gone since the listing.
std::optional<unsigned> FindPort(RtMidiOut& output, const std::string& portName)
{
    const unsigned count = output.getPortCount();
    for (unsigned index = 0; index < count; ++index) {
        if (output.getPortName(index) == portName) {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace

RtMidiPorts ListRtMidiPorts()
{
    SetJackNoStartServerAndQuietSoundLibraries();
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    RtMidiPorts listing;
    for (const RtMidi::Api api : apis) {
        std::unique_ptr<RtMidiOut> client = ApiCanStart(api) ? OpenQuietClient(api) : nullptr;
        const std::size_t before = listing.ports.size();
        try {
            const unsigned count = client ? client->getPortCount() : 0;
            for (unsigned index = 0; index < count; ++index) {
                std::string name = client->getPortName(index);
                if (!name.empty()) {
                    // Another program chose the name; only the escaped form is ever printed.
                    const std::string shown = EscapeControlCharacters(name);
                    listing.ports.push_back({ api, name, shown + " (" + RtMidi::getApiDisplayName(api) + ")" });
                }
            }
        } catch (const RtMidiError&) {
            // The API failed while listing (the server went away meanwhile): no ports.
            listing.ports.resize(before);
        }
        if (listing.ports.size() > before) {
            listing.clients.emplace(api, std::move(client));
        }
    }
    return listing;
}

std::unique_ptr<MidiDevice> OpenRtMidiPort(
    const RtMidiPort& port, std::unique_ptr<RtMidiOut> client, std::ostream& errors)
{
    std::string lastError;
    try {
        client->setErrorCallback(RecordRtMidiError, &lastError);
        if (const auto index = FindPort(*client, port.portName)) {
            client->openPort(*index, "Tavo output");
        } else {
            lastError = "the port is gone";
        }
    } catch (const RtMidiError& error) {
        lastError = error.getMessage();
    }
    if (!client->isPortOpen()) {
        errors << "tavo: cannot open MIDI output \"" << port.displayName << "\" (" << lastError
               << "); running on without sound\n";
        return std::make_unique<NullMidiDevice>();
    }
    return std::make_unique<RtMidiSender>(std::move(client), "MIDI output \"" + port.displayName + "\"", errors);
}

std::optional<std::string> AlsaSequencerFailure()
{
    SetJackNoStartServerAndQuietSoundLibraries();
    snd_seq_t* probe = nullptr;
    if (const int error = snd_seq_open(&probe, "default", SND_SEQ_OPEN_OUTPUT, 0); error < 0) {
        return snd_strerror(error);
    }
    snd_seq_close(probe);
    return std::nullopt;
}
