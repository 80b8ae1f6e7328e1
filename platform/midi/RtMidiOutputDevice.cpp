#include "platform/midi/RtMidiOutputDevice.h"

#include <array>
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

RtMidiOutputDevice::RtMidiOutputDevice(const RtMidiPort& port, std::ostream& errors)
    : errors_(errors)
    , port_(port)
{
    PrepareSoundLibraries();
    jackErrorsAtOpen_ = JackErrors().Count();
    try {
        output_ = std::make_unique<RtMidiOut>(port_.api, "Tavo");
        output_->setErrorCallback(&RtMidiOutputDevice::RecordError, this);
        if (const auto index = FindPort(*output_, port_.portName)) {
            output_->openPort(*index, "Tavo output");
        } else {
            lastError_ = "the port is gone";
        }
    } catch (const RtMidiError& error) {
        lastError_ = error.getMessage();
    }
    if (!output_ || !output_->isPortOpen()) {
        errors_ << "tavo: cannot open MIDI output \"" << port_.displayName << "\" (" << lastError_
                << "); running on without sound\n";
        output_.reset();
        return;
    }
    jackErrorsAtOpen_ = JackErrors().Count();
}

RtMidiOutputDevice::~RtMidiOutputDevice() = default;

void RtMidiOutputDevice::RecordError(RtMidiError::Type, const std::string& text, void* device)
{
    static_cast<RtMidiOutputDevice*>(device)->lastError_ = text;
}

void RtMidiOutputDevice::SendShortMessage(std::uint32_t message)
{
    if (!output_ || LostJackServer()) {
        return;
    }
    const ShortMessage unpacked = UnpackShortMessage(message);
    const std::array<unsigned char, 3> bytes { unpacked.status, unpacked.data1, unpacked.data2 };
    output_->sendMessage(bytes.data(), unpacked.Length());
}

// RtMidi does not notice a JACK server going away, but libjack reports it; from then on
// the port stays closed and the program plays on without sound.
bool RtMidiOutputDevice::LostJackServer()
{
    if (port_.api != RtMidi::UNIX_JACK || JackErrors().Count() == jackErrorsAtOpen_) {
        return false;
    }
    errors_ << "tavo: MIDI output \"" << port_.displayName << "\" lost its JACK server (" << JackErrors().Last()
            << "); running on without sound\n";
    output_.reset();
    return true;
}
