#include "platform/midi/RtMidiOutputDevice.h"

#include <memory>
#include <optional>
#include <ostream>

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/RtMidiSender.h"

namespace {

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

std::unique_ptr<MidiDevice> OpenRtMidiOutput(
    const RtMidiPort& port, std::unique_ptr<RtMidiOut> client, std::ostream& errors)
{
    PrepareSoundLibraries();
    std::string lastError;
    std::unique_ptr<RtMidiOut> output = std::move(client);
    try {
        if (!output) {
            output = std::make_unique<RtMidiOut>(port.api, "Tavo");
        }
        output->setErrorCallback(RecordRtMidiError, &lastError);
        if (const auto index = FindPort(*output, port.portName)) {
            output->openPort(*index, "Tavo output");
        } else {
            lastError = "the port is gone";
        }
    } catch (const RtMidiError& error) {
        lastError = error.getMessage();
    }
    if (!output || !output->isPortOpen()) {
        errors << "tavo: cannot open MIDI output \"" << port.displayName << "\" (" << lastError
               << "); running on without sound\n";
        return std::make_unique<NullMidiDevice>();
    }
    return std::make_unique<RtMidiSender>(std::move(output), "MIDI output \"" + port.displayName + "\"", errors);
}
