#pragma once

#include <string>

#include <fluidsynth.h>

// The functions of libfluidsynth that Tavo calls.
#define TAVO_FLUIDSYNTH_FUNCTIONS(X)                                                                                   \
    X(fluid_version_str)                                                                                               \
    X(fluid_set_log_function)                                                                                          \
    X(new_fluid_settings)                                                                                              \
    X(delete_fluid_settings)                                                                                           \
    X(fluid_settings_setint)                                                                                           \
    X(fluid_settings_setnum)                                                                                           \
    X(fluid_settings_setstr)                                                                                           \
    X(fluid_settings_foreach_option)                                                                                   \
    X(new_fluid_synth)                                                                                                 \
    X(delete_fluid_synth)                                                                                              \
    X(fluid_is_soundfont)                                                                                              \
    X(fluid_synth_sfload)                                                                                              \
    X(fluid_synth_noteon)                                                                                              \
    X(fluid_synth_noteoff)                                                                                             \
    X(fluid_synth_program_change)                                                                                      \
    X(fluid_synth_write_float)                                                                                         \
    X(new_fluid_audio_driver)                                                                                          \
    X(delete_fluid_audio_driver)

// libfluidsynth, loaded when the built-in synthesizer first starts rather than with the
// program: with the libraries it brings (PulseAudio, SDL2, libinstpatch, libsndfile,
// glib) it takes a sixth of the time a window takes to show. Each member is the library's
// function of the same name.
struct FluidSynthLibrary {
#define TAVO_FLUIDSYNTH_MEMBER(name) decltype(&::name) name = nullptr;
    TAVO_FLUIDSYNTH_FUNCTIONS(TAVO_FLUIDSYNTH_MEMBER)
#undef TAVO_FLUIDSYNTH_MEMBER
};

// Loads the library once, whichever thread asks first, and sends its errors to
// FluidSynthErrors(), its chatter nowhere. Null when it cannot load; then `whyNot` says
// why. Any thread.
const FluidSynthLibrary* LoadFluidSynth(std::string& whyNot);

// The library, once LoadFluidSynth() has succeeded.
const FluidSynthLibrary& FluidSynth();
