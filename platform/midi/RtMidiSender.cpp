#include "platform/midi/RtMidiSender.h"

#include <array>
#include <ostream>

#include "midi/ShortMessage.h"
#include "platform/midi/LibraryErrorLog.h"

void IgnoreRtMidiError(RtMidiError::Type, const std::string&, void*)
{
}

void RecordRtMidiError(RtMidiError::Type, const std::string& text, void* lastError)
{
    *static_cast<std::string*>(lastError) = text;
}

RtMidiSender::RtMidiSender(std::unique_ptr<RtMidiOut> output, std::string portDescription, std::ostream& errors)
    : output_(std::move(output))
    , portDescription_(std::move(portDescription))
    , errors_(errors)
    , onJack_(output_->getCurrentApi() == RtMidi::UNIX_JACK)
    , jackErrorsAtOpen_(JackErrors().Count())
{
    // A send that fails shows as a JACK error (LostJackServer).
    output_->setErrorCallback(IgnoreRtMidiError);
}

void RtMidiSender::SendShortMessage(std::uint32_t message)
{
    if (!output_ || LostJackServer()) {
        return;
    }
    const ShortMessage unpacked = UnpackShortMessage(message);
    const std::array<unsigned char, 3> bytes { unpacked.status, unpacked.data1, unpacked.data2 };
    output_->sendMessage(bytes.data(), unpacked.Length());
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
