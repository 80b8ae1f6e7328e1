#include <gtest/gtest.h>

#include <sstream>

#include "platform/midi/MidiOutputs.h"

namespace {

const std::vector<std::string> kDevices {
    "Tavo built-in synthesizer (FluidSynth)",
    "Midi Through:Midi Through Port-0 14:0 (ALSA)",
    "USB Keys:USB Keys MIDI 1 20:0 (ALSA)",
    "a2j:USB Keys [20] (playback): USB Keys MIDI 1 (JACK)",
};

TEST(FindMidiOutputTest, NumberIsAnIndex)
{
    EXPECT_EQ(FindMidiOutput(kDevices, "0"), 0U);
    EXPECT_EQ(FindMidiOutput(kDevices, "3"), 3U);
}

TEST(FindMidiOutputTest, NameIsTheFirstDeviceContainingItIgnoringCase)
{
    EXPECT_EQ(FindMidiOutput(kDevices, "usb keys"), 2U);
    EXPECT_EQ(FindMidiOutput(kDevices, "(JACK)"), 3U);
    EXPECT_EQ(FindMidiOutput(kDevices, "fluidsynth"), 0U);
}

TEST(FindMidiOutputTest, NumberPastTheListMatchesNoNameContainingIt)
{
    EXPECT_EQ(FindMidiOutput(kDevices, "20"), std::nullopt);
    EXPECT_EQ(FindMidiOutput(kDevices, "9"), std::nullopt);
    EXPECT_EQ(FindMidiOutput(kDevices, "20:0"), 2U);
}

TEST(FindMidiOutputTest, NothingMatchesAnEmptyOrUnknownSelection)
{
    EXPECT_EQ(FindMidiOutput(kDevices, ""), std::nullopt);
    EXPECT_EQ(FindMidiOutput(kDevices, "Roland"), std::nullopt);
    EXPECT_EQ(FindMidiOutput(kDevices, "-1"), std::nullopt);
    EXPECT_EQ(FindMidiOutput({}, "0"), std::nullopt);
}

TEST(FindMidiOutputTest, UnmatchedSelectionMessageNamesEveryDevice)
{
    EXPECT_EQ(DescribeUnmatchedMidiOutput({ kDevices[0], kDevices[1] }, "Roland"),
        "tavo: no MIDI output matches \"Roland\"; the devices are: 0: Tavo built-in synthesizer (FluidSynth), "
        "1: Midi Through:Midi Through Port-0 14:0 (ALSA)");
}

TEST(MidiOutputsTest, ListStartsWithTheBuiltInSynthesizerAndPrintsNothing)
{
    testing::internal::CaptureStderr();
    const auto devices = ListMidiOutputs();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ(devices[0], "Tavo built-in synthesizer (FluidSynth)");
}

TEST(MidiOutputsTest, DevicePastTheListIsOneLineAndASilentDevice)
{
    const auto count = ListMidiOutputs().size();
    std::ostringstream errors;
    testing::internal::CaptureStderr();
    const auto device = OpenMidiOutput(count, {}, errors);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(device, nullptr);
    device->SendShortMessage(0x7F3C90);
    EXPECT_EQ(errors.str().rfind("tavo: there is no MIDI output " + std::to_string(count), 0), 0U) << errors.str();
    EXPECT_NE(errors.str().find("0: Tavo built-in synthesizer"), std::string::npos);
    EXPECT_FALSE(AudioBufferMilliseconds(*device).has_value());
}

} // namespace
