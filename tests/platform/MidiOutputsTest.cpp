#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/midi/FluidSynthDevice.h"
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

// A user with no JACK server gets none of ours: libjack would start the command in
// $HOME/.jackdrc, here one that leaves a mark, for a client that does not forbid it.
TEST(MidiOutputsTest, TheSynthesizerStartsNoJackServer)
{
    const auto home = std::filesystem::path(testing::TempDir()) / ("tavo-home-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    std::ofstream(home / "jackd") << "#!/bin/sh\ntouch " << home / "started" << '\n';
    std::filesystem::permissions(home / "jackd", std::filesystem::perms::owner_all);
    std::ofstream(home / ".jackdrc") << (home / "jackd").string() << '\n';
    setenv("HOME", home.c_str(), 1), setenv("JACK_DEFAULT_SERVER", "tavo-no-such-server", 1);
    std::ostringstream said;
    FluidSynthDevice device({ .soundfont = "", .audioDriver = "jack", .audioFile = "" }, said);
    device.OnWindowShown();
    EXPECT_FALSE(device.IsPlaying() || std::filesystem::exists(home / "started")) << said.str();
    std::filesystem::remove_all(home);
}
