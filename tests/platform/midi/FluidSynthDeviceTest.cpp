#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "AudioAnalysis.h"
#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthDevice.h"

namespace {

constexpr std::uint32_t kConcertAOn = PackShortMessage(0x90, 69, 127);
constexpr std::uint32_t kConcertAOff = PackShortMessage(0x90, 69, 0);

std::filesystem::path ScratchPath(const std::string& name)
{
    return std::filesystem::temp_directory_path() / ("tavo-" + std::to_string(getpid()) + "-" + name);
}

// Opens the built-in synthesizer and keeps what it said, on its stream and on the
// process's stderr, where the libraries would print if they were not kept quiet.
struct OpenedSynth {
    explicit OpenedSynth(const MidiOutputSettings& settings)
    {
        testing::internal::CaptureStderr();
        device = std::make_unique<FluidSynthDevice>(settings, said);
        processStderr = testing::internal::GetCapturedStderr();
    }
    std::ostringstream said;
    std::string processStderr;
    std::unique_ptr<FluidSynthDevice> device;
};

// A device that failed still takes messages and is silent; the failure is one line.
void ExpectOneLineAndSilence(OpenedSynth& opened)
{
    const std::string line = opened.said.str();
    EXPECT_EQ(line.rfind("tavo: ", 0), 0U) << line;
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
    EXPECT_EQ(opened.processStderr, "");
    EXPECT_FALSE(opened.device->IsPlaying());
    EXPECT_FALSE(opened.device->AudioBufferMilliseconds().has_value());
    opened.device->SendShortMessage(kConcertAOn);
    opened.device->SendShortMessage(kConcertAOff);
}

TEST(FluidSynthDeviceTest, AudioFileHoldsThePlayedNoteAsAValidWav)
{
    const auto wav = ScratchPath("take.wav");
    {
        OpenedSynth opened({ .soundfont = "", .audioDriver = "", .audioFile = wav.string() });
        ASSERT_TRUE(opened.device->IsPlaying()) << opened.said.str();
        EXPECT_EQ(opened.said.str(), "");
        EXPECT_EQ(opened.device->AudioDriverName(), "file");
        EXPECT_LE(*opened.device->AudioBufferMilliseconds(), 12.0);
        opened.device->SendShortMessage(kConcertAOn);
        // The file driver renders in real time: hold the note long enough to be heard.
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        opened.device->SendShortMessage(kConcertAOff);
    }
    const auto audio = ReadPcmWav(wav.string());
    std::filesystem::remove(wav);
    ASSERT_TRUE(audio.has_value()) << "not a well-formed 16-bit PCM WAV file";
    EXPECT_EQ(audio->channels, 2);
    EXPECT_EQ(audio->sampleRate, FluidSynthDevice::kSampleRate);

    const auto& samples = audio->firstChannel;
    const auto onset
        = std::find_if(samples.begin(), samples.end(), [](float sample) { return std::abs(sample) > 0.01f; });
    const auto skipAttack = FluidSynthDevice::kSampleRate / 10;
    const auto sustainLength = FluidSynthDevice::kSampleRate / 4;
    ASSERT_GT(samples.end() - onset, skipAttack + sustainLength) << "the note is missing or too short";
    const std::span<const float> sustain(&*(onset + skipAttack), sustainLength);
    const auto pitch = EstimateFundamentalHz(sustain, audio->sampleRate);
    ASSERT_TRUE(pitch.has_value());
    EXPECT_NEAR(CentsBetween(*pitch, 440.0), 0.0, 25.0) << *pitch << " Hz";
}

TEST(FluidSynthDeviceTest, AudioFileThatCannotBeWrittenIsReported)
{
    OpenedSynth opened({ .soundfont = "", .audioDriver = "", .audioFile = "/nonexistent-folder/take.wav" });
    ExpectOneLineAndSilence(opened);
    EXPECT_NE(opened.said.str().find("/nonexistent-folder/take.wav"), std::string::npos);
}

TEST(FluidSynthDeviceTest, MissingSoundfontIsNamed)
{
    OpenedSynth opened({ .soundfont = "/nonexistent/piano.sf2", .audioDriver = "", .audioFile = "" });
    ExpectOneLineAndSilence(opened);
    EXPECT_NE(opened.said.str().find("/nonexistent/piano.sf2: not found"), std::string::npos);
}

TEST(FluidSynthDeviceTest, GarbageSoundfontIsRefused)
{
    const auto garbage = ScratchPath("garbage.sf2");
    std::ofstream(garbage) << "RIFF this is no soundfont at all";
    OpenedSynth opened({ .soundfont = garbage.string(), .audioDriver = "", .audioFile = "" });
    std::filesystem::remove(garbage);
    ExpectOneLineAndSilence(opened);
    EXPECT_NE(opened.said.str().find("not a SoundFont file"), std::string::npos);
}

TEST(FluidSynthDeviceTest, UnknownAudioDriverNamesTheDriversThatExist)
{
    OpenedSynth opened({ .soundfont = "", .audioDriver = "bogus", .audioFile = "" });
    ExpectOneLineAndSilence(opened);
    const std::string line = opened.said.str();
    EXPECT_NE(line.find("\"bogus\""), std::string::npos);
    EXPECT_NE(line.find("alsa"), std::string::npos);
    EXPECT_NE(line.find("file"), std::string::npos);
}

TEST(FluidSynthDeviceTest, JackWithoutServerIsReportedAndNoServerIsStarted)
{
    setenv("JACK_DEFAULT_SERVER", "tavo-no-such-server", 1);
    OpenedSynth opened({ .soundfont = "", .audioDriver = "jack", .audioFile = "" });
    unsetenv("JACK_DEFAULT_SERVER");
    ExpectOneLineAndSilence(opened);
    EXPECT_NE(opened.said.str().find("tried jack: "), std::string::npos) << opened.said.str();
    EXPECT_FALSE(std::filesystem::exists("/dev/shm/jack_tavo-no-such-server_0_0"));
}

TEST(FluidSynthDeviceTest, DefaultDriversAreTriedInOrderWhenNoneStarts)
{
    setenv("JACK_DEFAULT_SERVER", "tavo-no-such-server", 1);
    setenv("PULSE_SERVER", "unix:/nonexistent/tavo-pulse", 1);
    OpenedSynth opened({});
    unsetenv("JACK_DEFAULT_SERVER");
    unsetenv("PULSE_SERVER");
    if (opened.device->IsPlaying()) {
        GTEST_SKIP() << "this machine has a sound card: " << opened.device->AudioDriverName() << " started";
    }
    ExpectOneLineAndSilence(opened);
    const std::string line = opened.said.str();
    const auto pulse = line.find("pulseaudio: ");
    const auto jack = line.find("jack: ");
    const auto alsa = line.find("alsa: ");
    EXPECT_LT(pulse, jack) << line;
    EXPECT_LT(jack, alsa) << line;
    EXPECT_NE(alsa, std::string::npos) << line;
}

} // namespace
