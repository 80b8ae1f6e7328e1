#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "midi/MidiDevice.h"
#include "platform/midi/MidiOutputSettings.h"

struct RtMidiPorts;

// The name Tavo's MIDI clients go by, and its own port's unless the user names one.
inline constexpr const char* kMidiClientName = "Tavo";

// The devices that exist, as listed once, in order: 0 is the built-in synthesizer, 1..n
// the system's MIDI output ports. Opening an entry opens the port that was listed,
// whatever came or went since. One thread at a time.
class MidiOutputList {
public:
    static MidiOutputList Read();
    ~MidiOutputList();
    MidiOutputList(MidiOutputList&&) noexcept;
    MidiOutputList& operator=(MidiOutputList&&) noexcept;

    const std::vector<std::string>& Names() const { return names_; }

    // Opens entry `index` (less than Names().size()), as OpenMidiOutput does, on the
    // client that listed it. Once.
    std::unique_ptr<MidiDevice> Open(std::size_t index, const MidiOutputSettings& settings, std::ostream& errors);

private:
    MidiOutputList();

    std::vector<std::string> names_;
    std::unique_ptr<RtMidiPorts> listing_;
};

// The names of MidiOutputList::Read(). Any thread.
std::vector<std::string> ListMidiOutputs();

// The device a --midi-out value names: digits are an index and only an index, anything
// else the first device whose name contains it (ignoring case). Nothing when no device
// matches.
std::optional<std::size_t> FindMidiOutput(const std::vector<std::string>& devices, std::string_view selection);

// The error line for a --midi-out value that matched nothing, naming the devices that
// exist: "tavo: no MIDI output matches \"x\"; the devices are: 0: ..., 1: ...".
std::string DescribeUnmatchedMidiOutput(const std::vector<std::string>& devices, std::string_view selection);

// Opens device `index` of ListMidiOutputs(); device 0, the built-in synthesizer, without
// listing the ports. Never fails: when the device or its audio cannot start, says so in
// one "tavo: ..." line on `errors` and returns a device that drops messages. A device
// that loses its output later (its JACK server goes away) says so once on `errors`,
// which outlives it. Any thread; the device is then used on the UI thread only.
std::unique_ptr<MidiDevice> OpenMidiOutput(std::size_t index, const MidiOutputSettings& settings, std::ostream& errors);

// Opens an output port of Tavo's own named `portName`, which other programs connect to:
// on JACK when a JACK server runs, else on the ALSA sequencer. Says in one "tavo: ..."
// line on `errors` which port opened, or why none could (returning nothing). Threads
// and `errors` as for OpenMidiOutput.
std::unique_ptr<MidiDevice> OpenVirtualMidiOutput(const std::string& portName, std::ostream& errors);

// What the built-in synthesizer reports about itself, for the About box:
// "FluidSynth 2.3.1". Loads FluidSynth if the synthesizer has not.
std::string SynthesizerVersion();
