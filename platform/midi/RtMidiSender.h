#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include <RtMidi.h>

#include "midi/MidiDevice.h"

// An open RtMidi output, the device every RtMidi port of Tavo's plays through. It closes
// the port for good once its JACK server has gone away (RtMidi does not notice, libjack
// does), saying so in one line. Destroying it closes the port after what was sent before
// (RtMidi's JACK back end waits for its next cycle), so the releases sent just before
// closing reach the synthesizer. Made on any thread, then used on the UI thread.
class RtMidiSender final : public MidiDevice {
public:
    // `output` is open; `portDescription` names it in the line about the lost server
    // ("MIDI output \"x\""); `errors` outlives the sender.
    RtMidiSender(std::unique_ptr<RtMidiOut> output, std::string portDescription, std::ostream& errors);

    void SendShortMessage(std::uint32_t message) override;

private:
    bool LostJackServer();

    std::unique_ptr<RtMidiOut> output_;
    std::string portDescription_;
    std::ostream& errors_;
    bool onJack_ = false;
    unsigned jackErrorsAtOpen_ = 0;
};

// An RtMidi error callback for reports that must not reach std::cerr, where RtMidi
// prints them without one.
void IgnoreRtMidiError(RtMidiError::Type type, const std::string& text, void* unused);

// RtMidi's error callback while a port opens: keeps the text in the std::string that
// `lastError` points to, which outlives the RtMidiOut.
void RecordRtMidiError(RtMidiError::Type type, const std::string& text, void* lastError);
