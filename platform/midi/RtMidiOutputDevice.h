#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "midi/MidiDevice.h"
#include "platform/midi/RtMidiPorts.h"
#include "platform/midi/RtMidiSender.h"

// One of the system's MIDI output ports through RtMidi. Bytes go out in call order;
// closing delivers what was sent before (RtMidi's JACK back end waits for its next
// cycle), so the releases sent just before closing reach the synthesizer. When the port
// cannot be opened, or its JACK server goes away, says so once on `errors` and drops
// every message. Constructed, used and destroyed on the UI thread.
class RtMidiOutputDevice final : public MidiDevice {
public:
    // Opens `port` on `client`, the client that listed it, or on a client of its own when
    // that is null. `errors` receives the failure lines, also later ones, so it outlives
    // the device.
    RtMidiOutputDevice(const RtMidiPort& port, std::unique_ptr<RtMidiOut> client, std::ostream& errors);
    ~RtMidiOutputDevice() override;
    RtMidiOutputDevice(const RtMidiOutputDevice&) = delete;
    RtMidiOutputDevice& operator=(const RtMidiOutputDevice&) = delete;

    void SendShortMessage(std::uint32_t message) override;

    // True while messages reach the port.
    bool IsOpen() const { return sender_ && sender_->IsOpen(); }

private:
    static void RecordError(RtMidiError::Type type, const std::string& text, void* device);

    std::string lastError_;
    std::optional<RtMidiSender> sender_;
};
