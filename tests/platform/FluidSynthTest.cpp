#include <gtest/gtest.h>

#include <aubio/aubio.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/FluidSynthEngine.h"

namespace {

constexpr int kRate = FluidSynthDevice::kSampleRate;

// aubio's pitch estimate in Hz over a window of samples.
double PitchOf(fvec_t& window)
{
    smpl_t hertz = 0;
    fvec_t estimate { 1, &hertz };
    aubio_pitch_t* pitch = new_aubio_pitch("yinfft", window.length, window.length, kRate);
    aubio_pitch_do(pitch, &window, &estimate);
    del_aubio_pitch(pitch);
    return hertz;
}

// The synthesizer with the General MIDI soundfont the package depends on, rendered offline.
class FluidSynthEngineTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(engine.LoadSoundfont("/usr/share/sounds/sf2/TimGM6mb.sf2"), ""); }

    // The left channel of the next `frames` of output, as aubio's vector.
    fvec_t Render(std::size_t frames)
    {
        left.resize(frames);
        right.resize(frames);
        engine.Render(left, right);
        return { static_cast<uint_t>(frames), left.data() };
    }

    double Rms(std::size_t frames)
    {
        fvec_t samples = Render(frames);
        return std::sqrt(aubio_level_lin(&samples));
    }

    std::vector<float> left;
    std::vector<float> right;
    FluidSynthEngine engine { kRate };
};

TEST_F(FluidSynthEngineTest, NotesSoundAtTheirPitchOnPianoAndViola)
{
    for (const auto& [program, note, expected] : { std::tuple(0, 60, 261.63), { 0, 69, 440.0 }, { 41, 57, 220.0 } }) {
        engine.Play(PackShortMessage(0xC0, program));
        engine.Play(PackShortMessage(0x90, note, 127));
        Render(kRate / 5);
        fvec_t window = Render(4096);
        const double hertz = PitchOf(window);
        EXPECT_NEAR(1200 * std::log2(hertz / expected), 0.0, 25.0) << hertz << " Hz for note " << note;
        engine.Play(PackShortMessage(0x90, note, 0));
        Render(2 * kRate);
    }
}

// The viola holds its note as long as the key is down, unlike the piano, which dies away.
TEST_F(FluidSynthEngineTest, ViolaHoldsItsNoteUntilVelocityZeroReleasesIt)
{
    engine.Play(PackShortMessage(0xC0, 41));
    engine.Play(PackShortMessage(0x90, 60, 127));
    const double start = Rms(kRate / 4);
    Render(2 * kRate);
    EXPECT_GT(Rms(kRate / 4), start / 4);
    engine.Play(PackShortMessage(0x90, 60, 0));
    Render(2 * kRate);
    EXPECT_LT(Rms(kRate / 4), start / 100);
}

// Started in the background, the synthesizer keeps what it is sent while its soundfont
// loads and plays it in order once ready: here the viola is chosen and E goes on and off
// again, so only the viola's A sounds. The take has the format its extension names.
TEST(FluidSynthDeviceTest, MessagesSentWhileItStartsArePlayedInOrderIntoATakeOfTheNamedFormat)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tavo-takes-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    for (const auto& [name, magic] : { std::pair("take.wav", "RIFF"), { "take.FLAC", "fLaC" }, { "take.ogg", "OggS" } }) {
        SCOPED_TRACE(name);
        const auto take = folder / name;
        {
            std::ostringstream said;
            MidiOutputSettings settings;
            settings.audioFile = take.string();
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
        std::string start(4, '\0');
        std::ifstream(take, std::ios::binary).read(start.data(), 4);
        EXPECT_EQ(start, magic);
        constexpr uint_t kWindow = 4096;
        aubio_source_t* source = new_aubio_source(take.c_str(), kRate, kWindow);
        ASSERT_NE(source, nullptr);
        fvec_t* samples = new_fvec(kWindow);
        uint_t read = 0;
        int windowsHeard = 0;
        do {
            aubio_source_do(source, samples, &read);
            windowsHeard += read == kWindow && aubio_level_lin(samples) > 1e-4 ? 1 : 0;
        } while (read == kWindow && windowsHeard < 4);
        const double hertz = PitchOf(*samples);
        del_fvec(samples);
        del_aubio_source(source);
        ASSERT_EQ(windowsHeard, 4) << "the kept notes were not played";
        EXPECT_NEAR(1200 * std::log2(hertz / 440.0), 0.0, 25.0) << hertz << " Hz";
    }
    std::filesystem::remove_all(folder);
}

}
