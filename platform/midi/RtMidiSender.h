#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include <RtMidi.h>

// What every RtMidi output of Tavo's does with an open port: packs each short message
// into its two or three bytes, sends them in call order, and closes the port for good
// once its JACK server has gone away (RtMidi does not notice, libjack does), saying so in
// one line. Destroying it closes the port after what was sent before. UI thread.
class RtMidiSender {
public:
    // `output` is open; `portDescription` names it in the line about the lost server
    // ("MIDI output \"x\""); `errors` outlives the sender.
    RtMidiSender(std::unique_ptr<RtMidiOut> output, std::string portDescription, std::ostream& errors);

    void Send(std::uint32_t message);

    // True until the port's JACK server went away.
    bool IsOpen() const { return output_ != nullptr; }

private:
    bool LostJackServer();

    std::unique_ptr<RtMidiOut> output_;
    std::string portDescription_;
    std::ostream& errors_;
    bool onJack_ = false;
    unsigned jackErrorsAtOpen_ = 0;
};
