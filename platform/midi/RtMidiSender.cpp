#include "platform/midi/RtMidiSender.h"

#include <array>
#include <ostream>

#include "platform/midi/LibraryErrorLog.h"

namespace {

constexpr std::uint8_t kStatusKindMask = 0xF0;
constexpr std::uint8_t kProgramChangeStatus = 0xC0;
constexpr std::uint8_t kChannelPressureStatus = 0xD0;

// Channel messages carry two data bytes, except program change and channel pressure.
std::size_t ShortMessageLength(std::uint8_t status)
{
    const auto kind = static_cast<std::uint8_t>(status & kStatusKindMask);
    return kind == kProgramChangeStatus || kind == kChannelPressureStatus ? 2 : 3;
}

} // namespace

RtMidiSender::RtMidiSender(std::unique_ptr<RtMidiOut> output, std::string portDescription, std::ostream& errors)
    : output_(std::move(output))
    , portDescription_(std::move(portDescription))
    , errors_(errors)
    , onJack_(output_ && output_->getCurrentApi() == RtMidi::UNIX_JACK)
    , jackErrorsAtOpen_(JackErrors().Count())
{
}

void RtMidiSender::Send(std::uint32_t message)
{
    if (!output_ || LostJackServer()) {
        return;
    }
    const std::array<unsigned char, 3> bytes {
        static_cast<unsigned char>(message & 0xFF),
        static_cast<unsigned char>((message >> 8) & 0xFF),
        static_cast<unsigned char>((message >> 16) & 0xFF),
    };
    output_->sendMessage(bytes.data(), ShortMessageLength(bytes[0]));
}

// From the first error libjack reports after the port opened, the port stays closed and
// the program plays on without sound.
bool RtMidiSender::LostJackServer()
{
    if (!onJack_ || JackErrors().Count() == jackErrorsAtOpen_) {
        return false;
    }
    errors_ << "tavo: " << portDescription_ << " lost its JACK server (" << JackErrors().Last()
            << "); running on without sound\n";
    output_.reset();
    return true;
}
