#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "AudioAnalysis.h"
#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthDevice.h"

namespace {

constexpr std::uint32_t kConcertAOn = PackShortMessage(0x90, 69, 127);
constexpr std::uint32_t kConcertAOff = PackShortMessage(0x90, 69, 0);
constexpr std::uint32_t kHighEOn = PackShortMessage(0x90, 76, 127);
constexpr std::uint32_t kHighEOff = PackShortMessage(0x90, 76, 0);

TEST(FluidSynthBackgroundStartTest, MessagesSentWhileItStartsArePlayedInOrderOnceReady)
{
    const auto wav = std::filesystem::temp_directory_path() / ("tavo-" + std::to_string(getpid()) + "-late.wav");
    {
        std::ostringstream said;
        FluidSynthDevice device({ .soundfont = "", .audioDriver = "", .audioFile = wav.string() }, said,
            FluidSynthDevice::Start::InBackground);
        // Sent long before the soundfont is in: only A is left sounding, in this order.
        device.SendShortMessage(kHighEOn);
        device.SendShortMessage(kConcertAOn);
        device.SendShortMessage(kHighEOff);
        ASSERT_TRUE(device.IsPlaying()) << said.str();
        EXPECT_EQ(said.str(), "");
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        device.SendShortMessage(kConcertAOff);
    }
    const auto audio = ReadPcmWav(wav.string());
    std::filesystem::remove(wav);
    ASSERT_TRUE(audio.has_value());
    const auto& samples = audio->firstChannel;
    const auto onset
        = std::find_if(samples.begin(), samples.end(), [](float sample) { return std::abs(sample) > 0.01f; });
    const auto skipAttack = FluidSynthDevice::kSampleRate / 10;
    const auto sustainLength = FluidSynthDevice::kSampleRate / 4;
    ASSERT_GT(samples.end() - onset, skipAttack + sustainLength) << "the kept notes were not played";
    const auto pitch
        = EstimateFundamentalHz(std::span<const float>(&*(onset + skipAttack), sustainLength), audio->sampleRate);
    ASSERT_TRUE(pitch.has_value());
    EXPECT_NEAR(CentsBetween(*pitch, 440.0), 0.0, 25.0) << *pitch << " Hz";
}

}
