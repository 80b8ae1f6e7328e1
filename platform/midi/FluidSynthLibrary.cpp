#include "platform/midi/FluidSynthLibrary.h"

#include "platform/midi/LibraryErrorLog.h"

namespace {

void RecordFluidSynthError(int, const char* message, void*)
{
    FluidSynthErrors().Record(message);
}

void DropMessage(int, const char*, void*)
{
}

const FluidSynthLibrary& Library()
{
    static const FluidSynthLibrary library;
    return library;
}

} // namespace

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
    fluid_set_log_function(FLUID_PANIC, RecordFluidSynthError, nullptr);
    fluid_set_log_function(FLUID_ERR, RecordFluidSynthError, nullptr);
    fluid_set_log_function(FLUID_WARN, DropMessage, nullptr);
    fluid_set_log_function(FLUID_INFO, DropMessage, nullptr);
    fluid_set_log_function(FLUID_DBG, DropMessage, nullptr);
}

const FluidSynthLibrary* LoadFluidSynth(std::string& whyNot)
{
    whyNot = Library().WhyNot();
    return whyNot.empty() ? &Library() : nullptr;
}

const FluidSynthLibrary& FluidSynth()
{
    return Library();
}
