#include "platform/midi/FluidSynthEngine.h"

#include <filesystem>

#include "midi/ShortMessage.h"
#include "platform/midi/LibraryErrorLog.h"

FluidSynthEngine::FluidSynthEngine(int sampleRate)
    : fluid_(FluidSynth())
    , settings_(nullptr, fluid_.delete_fluid_settings)
    , synth_(nullptr, fluid_.delete_fluid_synth)
{
    SetJackNoStartServerAndQuietSoundLibraries();
    settings_.reset(fluid_.new_fluid_settings());
    fluid_.fluid_settings_setnum(settings_.get(), "synth.sample-rate", sampleRate);
    synth_.reset(fluid_.new_fluid_synth(settings_.get()));
}

std::string FluidSynthEngine::LoadSoundfont(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return "not found";
    }
    if (!fluid_.fluid_is_soundfont(path.c_str())) {
        return "not a SoundFont file";
    }
    if (fluid_.fluid_synth_sfload(synth_.get(), path.c_str(), 1) == FLUID_FAILED) {
        const std::string why = FluidSynthErrors().Last();
        return why.empty() ? std::string("could not be loaded") : why;
    }
    return {};
}

void FluidSynthEngine::Play(std::uint32_t message)
{
    const ShortMessage unpacked = UnpackShortMessage(message);
    const int channel = unpacked.Channel();
    const int data1 = unpacked.data1 & kMaxDataByte;
    const int data2 = unpacked.data2 & kMaxDataByte;
    if (unpacked.Kind() == kNoteOnStatus) {
        if (data2 == 0) {
            fluid_.fluid_synth_noteoff(synth_.get(), channel, data1);
        } else {
            fluid_.fluid_synth_noteon(synth_.get(), channel, data1, data2);
        }
    } else if (unpacked.Kind() == kProgramChangeStatus) {
        fluid_.fluid_synth_program_change(synth_.get(), channel, data1);
    }
}

void FluidSynthEngine::Render(std::span<float> left, std::span<float> right)
{
    const auto frames = static_cast<int>(std::min(left.size(), right.size()));
    fluid_.fluid_synth_write_float(synth_.get(), frames, left.data(), 0, 1, right.data(), 0, 1);
}
