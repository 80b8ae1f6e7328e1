#include <gtest/gtest.h>

#include "platform/midi/MidiOutputs.h"

TEST(MidiOutputsTest, SelectionIsAnIndexOrPartOfANameIgnoringCase)
{
    const std::vector<std::string> devices { "Tavo built-in synthesizer (FluidSynth)",
        "Midi Through:Midi Through Port-0 14:0 (ALSA)", "USB Keys:USB Keys MIDI 1 20:0 (ALSA)" };
    // Digits are an index only: a number past the list matches no name that contains it.
    const std::pair<const char*, std::optional<std::size_t>> cases[] = { { "0", 0 }, { "2", 2 }, { "usb keys", 2 },
        { "FLUIDSYNTH", 0 }, { "(alsa)", 1 }, { "3", std::nullopt }, { "14", std::nullopt }, { "20", std::nullopt },
        { "20:0", 2 }, { "", std::nullopt }, { "Roland", std::nullopt } };
    for (const auto& [selection, index] : cases) {
        EXPECT_EQ(FindMidiOutput(devices, selection), index) << '"' << selection << '"';
    }
}
