#include <gtest/gtest.h>

#include <vector>

#include "AudioAnalysis.h"
#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthEngine.h"

namespace {

constexpr int kRate = 48000;
constexpr const char* kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kProgramChange = 0xC0;

// The synthesizer rendered offline, a block at a time, as its audio driver would.
class OfflineSynth {
public:
    OfflineSynth()
        : engine_(kRate)
    {
        loadError_ = engine_.LoadSoundfont(kSoundfont);
    }

    const std::string& LoadError() const { return loadError_; }
    void Play(std::uint32_t message) { engine_.Play(message); }

    // Mono mix of the next `seconds` of output.
    std::vector<float> Render(double seconds)
    {
        const auto frames = static_cast<std::size_t>(seconds * kRate);
        std::vector<float> left(frames);
        std::vector<float> right(frames);
        engine_.Render(left, right);
        for (std::size_t i = 0; i < frames; ++i) {
            left[i] = 0.5f * (left[i] + right[i]);
        }
        return left;
    }

    // A note held for half a second, skipping its attack.
    std::vector<float> SustainOf(std::uint8_t note)
    {
        Play(PackShortMessage(kNoteOn, note, 127));
        Render(0.1);
        auto sustain = Render(0.4);
        Play(PackShortMessage(kNoteOn, note, 0));
        Render(2.0);
        return sustain;
    }

private:
    FluidSynthEngine engine_;
    std::string loadError_;
};

TEST(FluidSynthRenderTest, MiddleCSoundsAtItsPitchOnTheGrandPiano)
{
    OfflineSynth synth;
    ASSERT_EQ(synth.LoadError(), "");
    const auto pitch = EstimateFundamentalHz(synth.SustainOf(60), kRate);
    ASSERT_TRUE(pitch.has_value());
    EXPECT_NEAR(CentsBetween(*pitch, 261.63), 0.0, 25.0) << *pitch << " Hz";
}

TEST(FluidSynthRenderTest, ConcertASoundsAt440Hertz)
{
    OfflineSynth synth;
    ASSERT_EQ(synth.LoadError(), "");
    const auto pitch = EstimateFundamentalHz(synth.SustainOf(69), kRate);
    ASSERT_TRUE(pitch.has_value());
    EXPECT_NEAR(CentsBetween(*pitch, 440.0), 0.0, 25.0) << *pitch << " Hz";
}

TEST(FluidSynthRenderTest, ProgramChangeToViolaChangesTheTimbreNotThePitch)
{
    OfflineSynth synth;
    ASSERT_EQ(synth.LoadError(), "");
    const auto piano = HarmonicProfile(synth.SustainOf(69), kRate, 440.0, 8);
    synth.Play(PackShortMessage(kProgramChange, 41));
    const auto violaSustain = synth.SustainOf(69);
    const auto violaPitch = EstimateFundamentalHz(violaSustain, kRate);
    ASSERT_TRUE(violaPitch.has_value());
    EXPECT_NEAR(CentsBetween(*violaPitch, 440.0), 0.0, 25.0) << *violaPitch << " Hz";

    const auto viola = HarmonicProfile(violaSustain, kRate, 440.0, 8);
    double difference = 0.0;
    for (std::size_t i = 0; i < piano.size(); ++i) {
        difference += std::abs(piano[i] - viola[i]);
    }
    EXPECT_GT(difference, 0.3) << "harmonic profiles of program 0 and program 41 barely differ";
}

TEST(FluidSynthRenderTest, VelocityZeroNoteOnReleasesTheNote)
{
    OfflineSynth synth;
    ASSERT_EQ(synth.LoadError(), "");
    synth.Play(PackShortMessage(kProgramChange, 41));
    synth.Play(PackShortMessage(kNoteOn, 60, 127));
    const double held = Rms(synth.Render(0.3));
    synth.Play(PackShortMessage(kNoteOn, 60, 0));
    synth.Render(1.5);
    const double afterRelease = Rms(synth.Render(0.2));
    ASSERT_GT(held, 0.01);
    EXPECT_LT(afterRelease, held / 100.0);
}

// Without this the release test could pass on a note that dies away by itself.
TEST(FluidSynthRenderTest, HeldNoteKeepsSoundingWithoutARelease)
{
    OfflineSynth synth;
    ASSERT_EQ(synth.LoadError(), "");
    synth.Play(PackShortMessage(kProgramChange, 41));
    synth.Play(PackShortMessage(kNoteOn, 60, 127));
    const double start = Rms(synth.Render(0.3));
    synth.Render(1.5);
    EXPECT_GT(Rms(synth.Render(0.2)), start / 10.0);
}

TEST(FluidSynthRenderTest, LoadSoundfontSaysWhyAFileIsRefused)
{
    FluidSynthEngine engine(kRate);
    EXPECT_EQ(engine.LoadSoundfont("/nonexistent/tavo.sf2"), "not found");
    EXPECT_EQ(engine.LoadSoundfont("/etc/hostname"), "not a SoundFont file");
    EXPECT_EQ(engine.LoadSoundfont("/usr/share/sounds/sf2"), "not found");
}

} // namespace
