#include "platform/midi/MidiOutputs.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/FluidSynthLibrary.h"
#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/PlainText.h"
#include "platform/midi/RtMidiPorts.h"

namespace {

constexpr const char* kBuiltInSynthesizerName = "Tavo built-in synthesizer (FluidSynth)";

// Device 0 needs no listing, and its slow start waits for the window.
std::unique_ptr<MidiDevice> OpenBuiltInSynthesizer(const MidiOutputSettings& settings, std::ostream& errors)
{
    SetJackNoStartServerAndQuietSoundLibraries();
    return std::make_unique<FluidSynthDevice>(settings, errors);
}

} // namespace

MidiOutputList::MidiOutputList() = default;
MidiOutputList::~MidiOutputList() = default;
MidiOutputList::MidiOutputList(MidiOutputList&&) noexcept = default;
MidiOutputList& MidiOutputList::operator=(MidiOutputList&&) noexcept = default;

MidiOutputList MidiOutputList::Read()
{
    MidiOutputList list;
    list.names_.emplace_back(kBuiltInSynthesizerName);
    list.listing_ = std::make_unique<RtMidiPorts>(ListRtMidiPorts());
    for (const auto& port : list.listing_->ports) {
        list.names_.push_back(port.displayName);
    }
    return list;
}

std::unique_ptr<MidiDevice> MidiOutputList::Open(
    std::size_t index, const MidiOutputSettings& settings, std::ostream& errors)
{
    if (index == 0) {
        return OpenBuiltInSynthesizer(settings, errors);
    }
    const RtMidiPort& port = listing_->ports[index - 1];
    return OpenRtMidiPort(port, std::move(listing_->clients[port.api]), errors);
}

std::vector<std::string> ListMidiOutputs()
{
    return MidiOutputList::Read().Names();
}

std::optional<std::size_t> FindMidiOutput(const std::vector<std::string>& devices, std::string_view selection)
{
    if (selection.empty()) {
        return std::nullopt;
    }
    // Digits name a device number and nothing else: a number past the list must not
    // quietly open a port whose name happens to contain it.
    if (std::all_of(
            selection.begin(), selection.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        std::size_t index = 0;
        const auto [end, error] = std::from_chars(selection.data(), selection.data() + selection.size(), index);
        return error == std::errc() && index < devices.size() ? std::optional(index) : std::nullopt;
    }
    const auto named = std::find_if(devices.begin(), devices.end(), [selection](const std::string& device) {
        return std::search(device.begin(), device.end(), selection.begin(), selection.end(), SameIgnoringCase)
            != device.end();
    });
    return named != devices.end() ? std::optional(static_cast<std::size_t>(named - devices.begin())) : std::nullopt;
}

std::string DescribeUnmatchedMidiOutput(const std::vector<std::string>& devices, std::string_view selection)
{
    return "tavo: no MIDI output matches \"" + std::string(selection)
        + "\"; the devices are: " + Joined(Numbered(devices), ", ");
}

std::unique_ptr<MidiDevice> OpenMidiOutput(std::size_t index, const MidiOutputSettings& settings, std::ostream& errors)
{
    return index == 0 ? OpenBuiltInSynthesizer(settings, errors) : MidiOutputList::Read().Open(index, settings, errors);
}

std::string SynthesizerVersion()
{
    std::string whyNot;
    const FluidSynthLibrary* fluid = LoadFluidSynth(whyNot);
    return fluid != nullptr ? std::string("FluidSynth ") + fluid->fluid_version_str() : "FluidSynth (" + whyNot + ")";
}
