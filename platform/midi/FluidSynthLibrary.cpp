#include "platform/midi/FluidSynthLibrary.h"

#include <dlfcn.h>

#include "platform/midi/LibraryErrorLog.h"

namespace {

struct LoadedLibrary {
    FluidSynthLibrary functions;
    bool loaded = false;
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
#define TAVO_FLUIDSYNTH_RESOLVE(name)                                                                                  \
    library.functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                                \
    if (library.functions.name == nullptr) {                                                                           \
        library.whyNot = std::string(TAVO_FLUIDSYNTH_SONAME) + " has no " #name;                                       \
        return library;                                                                                                \
    }
    TAVO_FLUIDSYNTH_FUNCTIONS(TAVO_FLUIDSYNTH_RESOLVE)
#undef TAVO_FLUIDSYNTH_RESOLVE
    library.functions.fluid_set_log_function(FLUID_PANIC, RecordFluidSynthError, nullptr);
    library.functions.fluid_set_log_function(FLUID_ERR, RecordFluidSynthError, nullptr);
    library.functions.fluid_set_log_function(FLUID_WARN, DropMessage, nullptr);
    library.functions.fluid_set_log_function(FLUID_INFO, DropMessage, nullptr);
    library.functions.fluid_set_log_function(FLUID_DBG, DropMessage, nullptr);
    library.loaded = true;
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

const FluidSynthLibrary* LoadFluidSynth(std::string& whyNot)
{
    const LoadedLibrary& library = Library();
    if (!library.loaded) {
        whyNot = library.whyNot;
        return nullptr;
    }
    return &library.functions;
}

const FluidSynthLibrary& FluidSynth()
{
    return Library().functions;
}
