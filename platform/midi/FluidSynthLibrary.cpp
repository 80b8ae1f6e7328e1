#include "platform/midi/FluidSynthLibrary.h"

#include <dlfcn.h>

#include <optional>

#include "platform/midi/LibraryErrorLog.h"

namespace {

struct LoadedLibrary {
    std::optional<FluidSynthLibrary> functions; // when the library and all its functions were found
    std::string whyNot;
};

void RecordFluidSynthError(int, const char* message, void*)
{
    FluidSynthErrors().Record(message);
}

void DropMessage(int, const char*, void*)
{
}

LoadedLibrary Load()
{
    LoadedLibrary library;
    // The library and its own are kept out of the program's global scope, which every
    // later library load searches.
    void* const handle = dlopen(TAVO_FLUIDSYNTH_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        library.whyNot = dlerror();
        return library;
    }
    const FluidSynthLibrary& functions = library.functions.emplace(handle);
    if (!functions.Missing().empty()) {
        library.whyNot = std::string(TAVO_FLUIDSYNTH_SONAME) + " has no " + functions.Missing();
        library.functions.reset();
        return library;
    }
    functions.fluid_set_log_function(FLUID_PANIC, RecordFluidSynthError, nullptr);
    functions.fluid_set_log_function(FLUID_ERR, RecordFluidSynthError, nullptr);
    functions.fluid_set_log_function(FLUID_WARN, DropMessage, nullptr);
    functions.fluid_set_log_function(FLUID_INFO, DropMessage, nullptr);
    functions.fluid_set_log_function(FLUID_DBG, DropMessage, nullptr);
    return library;
}

const LoadedLibrary& Library()
{
    // The handle stays open for the life of the process: the audio driver's threads
    // run the library's code until the very end.
    static const LoadedLibrary library = Load();
    return library;
}

} // namespace

void* FluidSynthLibrary::Symbol(const char* name) const
{
    return dlsym(handle_, name);
}

const FluidSynthLibrary* LoadFluidSynth(std::string& whyNot)
{
    const LoadedLibrary& library = Library();
    if (!library.functions) {
        whyNot = library.whyNot;
        return nullptr;
    }
    return &*library.functions;
}

const FluidSynthLibrary& FluidSynth()
{
    return *Library().functions;
}
