#include "platform/midi/FluidSynthLibrary.h"

#include "platform/midi/LibraryErrorLog.h"

// The library and its own are kept out of the program's global scope, which every later
// library load searches.
FluidSynthLibrary::FluidSynthLibrary()
    : soname_(TAVO_FLUIDSYNTH_SONAME)
    , handle_(dlopen(soname_, RTLD_NOW | RTLD_LOCAL))
    , whyNot_(handle_ == nullptr ? dlerror() : "")
{
    if (!whyNot_.empty()) {
        return;
    }
    for (const int level : { FLUID_PANIC, FLUID_ERR }) {
        fluid_set_log_function(
            level, [](int, const char* message, void*) { FluidSynthErrors().Record(message); }, nullptr);
    }
    for (const int level : { FLUID_WARN, FLUID_INFO, FLUID_DBG }) {
        fluid_set_log_function(
            level, [](int, const char*, void*) {}, nullptr);
    }
}

const FluidSynthLibrary* LoadFluidSynth(std::string& whyNot)
{
    whyNot = FluidSynth().WhyNot();
    return whyNot.empty() ? &FluidSynth() : nullptr;
}

const FluidSynthLibrary& FluidSynth()
{
    static const FluidSynthLibrary library;
    return library;
}
