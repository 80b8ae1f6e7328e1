#include "midi/MidiOutPort.h"

MidiOutPort::MidiOutPort(std::unique_ptr<MidiDevice> device)
    : device_(device ? std::move(device) : std::make_unique<NullMidiDevice>())
{
}

bool MidiOutPort::NoteOn(std::uint8_t note, std::uint8_t velocity, std::uint8_t channel)
{
    if (channel > kMaxChannel || note > kMaxDataByte || velocity > kMaxDataByte) {
        return false;
    }
    device_->SendShortMessage(PackShortMessage(kNoteOnStatus + channel, note, velocity));
    return true;
}

bool MidiOutPort::ProgramChange(std::uint8_t channel, std::uint8_t program)
{
    if (channel > kMaxChannel || program > kMaxDataByte) {
        return false;
    }
    device_->SendShortMessage(PackShortMessage(kProgramChangeStatus + channel, program));
    return true;
}

void MidiOutPort::OnWindowShown()
{
    device_->OnWindowShown();
}

void MidiOutPort::Close()
{
    device_ = std::make_unique<NullMidiDevice>();
}
