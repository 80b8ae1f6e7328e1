#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "midi/MidiDevice.h"
#include "platform/midi/RtMidiSender.h"

// An output port of Tavo's own, made through RtMidi's virtual ports, that other programs
// (a DAW, a synthesizer) connect to: port `portName` of client "Tavo" on JACK or on the
// ALSA sequencer. Sends like any RtMidi output, releases included: closing delivers what
// was sent before. Constructed, used and destroyed on the UI thread.
class RtMidiVirtualOutputDevice final : public MidiDevice {
public:
    // Opens the port on `api` (RtMidi::UNIX_JACK or RtMidi::LINUX_ALSA) and says in one
    // line on `errors` which port opened, or why none did. `errors` outlives the device.
    RtMidiVirtualOutputDevice(RtMidi::Api api, const std::string& portName, std::ostream& errors);
    ~RtMidiVirtualOutputDevice() override;
    RtMidiVirtualOutputDevice(const RtMidiVirtualOutputDevice&) = delete;
    RtMidiVirtualOutputDevice& operator=(const RtMidiVirtualOutputDevice&) = delete;

    void SendShortMessage(std::uint32_t message) override;

    // True while messages reach the port.
    bool IsOpen() const { return sender_ && sender_->IsOpen(); }

private:
    static void RecordError(RtMidiError::Type type, const std::string& text, void* device);

    std::string lastError_;
    std::optional<RtMidiSender> sender_;
};
