#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiOutputs.h"
#include "rig/JackRig.h"

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

// A JACK client of the system's own, jack_midi_dump, receives the bytes the program sends
// through RtMidi, in call order, also those sent just before the port closes.
TEST(MidiOutputsTest, JackPortReceivesTheExactBytes)
{
    JackServer server;
    ASSERT_TRUE(server.IsReady());
    MidiDump dump;
    const auto index = FindMidiOutput(ListMidiOutputs(), "tavo-dump");
    ASSERT_TRUE(index.has_value()) << "jack_midi_dump's port is not among the outputs";
    std::ostringstream errors;
    auto device = OpenMidiOutput(*index, {}, errors);
    device->SendShortMessage(PackShortMessage(0x90, 0x3C, 0x7F));
    device->SendShortMessage(PackShortMessage(0x90, 0x3C, 0x00));
    device->SendShortMessage(PackShortMessage(0xC0, 0x29));
    device.reset();
    EXPECT_EQ(dump.WaitForMessages(3),
        (std::vector<std::vector<std::uint8_t>> { { 0x90, 0x3C, 0x7F }, { 0x90, 0x3C, 0x00 }, { 0xC0, 0x29 } }));
    EXPECT_EQ(errors.str(), "");
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
    setenv("HOME", home.c_str(), 1);
    setenv("JACK_DEFAULT_SERVER", "tavo-no-such-server", 1);
    std::ostringstream said;
    FluidSynthDevice device({ .soundfont = "", .audioDriver = "jack", .audioFile = "" }, said);
    device.OnWindowShown();
    EXPECT_FALSE(device.IsPlaying());
    EXPECT_FALSE(std::filesystem::exists(home / "started")) << said.str();
    std::filesystem::remove_all(home);
}
