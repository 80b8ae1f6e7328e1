#include <gtest/gtest.h>

#include <aubio/aubio.h>

#include <cmath>
#include <vector>

#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthEngine.h"

namespace {

constexpr int kRate = 48000;

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

    // aubio's pitch estimate in Hz over the next 4096 frames.
    double Pitch()
    {
        fvec_t window = Render(4096);
        smpl_t hertz = 0;
        fvec_t estimate { 1, &hertz };
        aubio_pitch_t* pitch = new_aubio_pitch("yinfft", window.length, window.length, kRate);
        aubio_pitch_do(pitch, &window, &estimate);
        del_aubio_pitch(pitch);
        return hertz;
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
        const double hertz = Pitch();
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

}
