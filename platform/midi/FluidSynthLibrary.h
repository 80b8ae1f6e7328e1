#pragma once

#include <dlfcn.h>

#include <string>

#include <fluidsynth.h>

// libfluidsynth, loaded when the built-in synthesizer first starts rather than with the
// program: with the libraries it brings (PulseAudio, SDL2, libinstpatch, libsndfile,
// glib) it would otherwise load on the way to the window. Each member is the library's
// function of the same name. The library stays loaded for the life of the process: the
// audio driver's threads run its code until the very end.
class FluidSynthLibrary {
public:
    // Loads the library and finds its functions; WhyNot() says when it could not.
    FluidSynthLibrary();

    // Why the library or one of its functions could not be found; empty when all were.
    const std::string& WhyNot() const { return whyNot_; }

private:
    template <typename Function> Function Find(const char* name)
    {
        void* const found = handle_ != nullptr ? dlsym(handle_, name) : nullptr;
        if (found == nullptr && whyNot_.empty()) {
            whyNot_ = std::string(soname_) + " has no " + name;
        }
        return reinterpret_cast<Function>(found);
    }

    // Declared before the functions, which are found as the table is made.
    const char* soname_;
    void* handle_;
    std::string whyNot_;

public:
#define TAVO_FLUIDSYNTH_FUNCTION(name) decltype(&::name) name = Find<decltype(&::name)>(#name)
    TAVO_FLUIDSYNTH_FUNCTION(fluid_version_str);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_set_log_function);
    TAVO_FLUIDSYNTH_FUNCTION(new_fluid_settings);
    TAVO_FLUIDSYNTH_FUNCTION(delete_fluid_settings);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_settings_setint);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_settings_setnum);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_settings_setstr);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_settings_foreach_option);
    TAVO_FLUIDSYNTH_FUNCTION(new_fluid_synth);
    TAVO_FLUIDSYNTH_FUNCTION(delete_fluid_synth);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_is_soundfont);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_synth_sfload);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_synth_noteon);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_synth_noteoff);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_synth_program_change);
    TAVO_FLUIDSYNTH_FUNCTION(fluid_synth_write_float);
    TAVO_FLUIDSYNTH_FUNCTION(new_fluid_audio_driver);
    TAVO_FLUIDSYNTH_FUNCTION(delete_fluid_audio_driver);
#undef TAVO_FLUIDSYNTH_FUNCTION
};

// Loads the library once, whichever thread asks first, and sends its errors to
// FluidSynthErrors(), its chatter nowhere. Null when it cannot load; then `whyNot` says
// why. Any thread.
const FluidSynthLibrary* LoadFluidSynth(std::string& whyNot);

// The library, once LoadFluidSynth() has succeeded.
const FluidSynthLibrary& FluidSynth();
