#include "platform/midi/RtMidiOutputDevice.h"

#include <memory>
#include <optional>
#include <ostream>

#include "midi/ShortMessage.h"
#include "platform/midi/LibraryErrorLog.h"

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

RtMidiOutputDevice::RtMidiOutputDevice(
    const RtMidiPort& port, std::unique_ptr<RtMidiOut> client, std::ostream& errors)
{
    PrepareSoundLibraries();
    std::unique_ptr<RtMidiOut> output = std::move(client);
    try {
        if (!output) {
            output = std::make_unique<RtMidiOut>(port.api, "Tavo");
        }
        output->setErrorCallback(&RtMidiOutputDevice::RecordError, this);
        if (const auto index = FindPort(*output, port.portName)) {
            output->openPort(*index, "Tavo output");
        } else {
            lastError_ = "the port is gone";
        }
    } catch (const RtMidiError& error) {
        lastError_ = error.getMessage();
    }
    if (!output || !output->isPortOpen()) {
        errors << "tavo: cannot open MIDI output \"" << port.displayName << "\" (" << lastError_
               << "); running on without sound\n";
        return;
    }
    sender_.emplace(std::move(output), "MIDI output \"" + port.displayName + "\"", errors);
}

RtMidiOutputDevice::~RtMidiOutputDevice() = default;

void RtMidiOutputDevice::RecordError(RtMidiError::Type, const std::string& text, void* device)
{
    static_cast<RtMidiOutputDevice*>(device)->lastError_ = text;
}

void RtMidiOutputDevice::SendShortMessage(std::uint32_t message)
{
    if (sender_) {
        sender_->Send(message);
    }
}
