#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/midi/FluidSynthLibrary.h"

// FluidSynth's settings and synthesizer with one soundfont, without any audio output,
// which the device adds and tests render themselves. One thread at a time, except that
// an audio driver may render on its own thread (FluidSynth locks for that).
class FluidSynthEngine {
public:
    // LoadFluidSynth() must have succeeded.
    explicit FluidSynthEngine(int sampleRate);

    // Loads the soundfont at `path`. Returns why it could not ("not found", "not a
    // SoundFont file", ...), or an empty text on success.
    std::string LoadSoundfont(const std::string& path);

    // Plays a packed note-on (velocity 0 releases) or program change; drops the rest.
    void Play(std::uint32_t message);

    // Renders left.size() frames of stereo audio; both spans have the same size.
    void Render(std::span<float> left, std::span<float> right);

    fluid_settings_t* Settings() const { return settings_.get(); }
    fluid_synth_t* Synth() const { return synth_.get(); }

private:
    const FluidSynthLibrary& fluid_;
    std::unique_ptr<fluid_settings_t, decltype(&::delete_fluid_settings)> settings_;
    std::unique_ptr<fluid_synth_t, decltype(&::delete_fluid_synth)> synth_;
};
