#include <gtest/gtest.h>

#include <aubio/aubio.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <thread>

#include "midi/ShortMessage.h"
#include "platform/midi/FluidSynthDevice.h"

namespace {

// Started in the background, the synthesizer keeps what it is sent while its soundfont
// loads and plays it in order once ready: here the viola is chosen and E goes on and off
// again, so only the viola's A sounds.
TEST(FluidSynthDeviceTest, MessagesSentWhileItStartsArePlayedInOrderOnceReady)
{
    const auto wav = std::filesystem::temp_directory_path() / ("tavo-" + std::to_string(getpid()) + "-late.wav");
    {
        std::ostringstream said;
        MidiOutputSettings settings;
        settings.audioFile = wav.string();
        FluidSynthDevice device(settings, said, FluidSynthDevice::Start::InBackground);
        device.SendShortMessage(PackShortMessage(kProgramChangeStatus, 41));
        device.SendShortMessage(PackShortMessage(kNoteOnStatus, 76, 127));
        device.SendShortMessage(PackShortMessage(kNoteOnStatus, 69, 127));
        device.SendShortMessage(PackShortMessage(kNoteOnStatus, 76, 0));
        ASSERT_TRUE(device.IsPlaying()) << said.str();
        EXPECT_EQ(said.str(), "");
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        device.SendShortMessage(PackShortMessage(kNoteOnStatus, 69, 0));
    }
    constexpr uint_t kWindow = 4096;
    aubio_source_t* source = new_aubio_source(wav.c_str(), FluidSynthDevice::kSampleRate, kWindow);
    ASSERT_NE(source, nullptr);
    fvec_t* samples = new_fvec(kWindow);
    uint_t read = 0;
    int windowsHeard = 0;
    do {
        aubio_source_do(source, samples, &read);
        windowsHeard += read == kWindow && aubio_level_lin(samples) > 1e-4 ? 1 : 0;
    } while (read == kWindow && windowsHeard < 4);
    smpl_t hertz = 0;
    fvec_t estimate { 1, &hertz };
    aubio_pitch_t* pitch = new_aubio_pitch("yinfft", kWindow, kWindow, FluidSynthDevice::kSampleRate);
    aubio_pitch_do(pitch, samples, &estimate);
    del_aubio_pitch(pitch);
    del_fvec(samples);
    del_aubio_source(source);
    std::filesystem::remove(wav);
    ASSERT_EQ(windowsHeard, 4) << "the kept notes were not played";
    EXPECT_NEAR(1200 * std::log2(hertz / 440.0), 0.0, 25.0) << hertz << " Hz";
}

}
