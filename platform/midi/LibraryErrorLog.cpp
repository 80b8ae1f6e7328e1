#include "platform/midi/LibraryErrorLog.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <cstdlib>

void LibraryErrorLog::Record(std::string message)
{
    message.erase(message.find_last_not_of("\n ") + 1);
    std::lock_guard lock(mutex_);
    last_ = std::move(message);
    ++count_;
}

std::string LibraryErrorLog::Last() const
{
    std::lock_guard lock(mutex_);
    return last_;
}

LibraryErrorLog& FluidSynthErrors()
{
    static LibraryErrorLog log;
    return log;
}

LibraryErrorLog& JackErrors()
{
    static LibraryErrorLog log;
    return log;
}

namespace {

// A lambda cannot stand for a C variadic function.
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...)
{
}

}

void SetJackNoStartServerAndQuietSoundLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        setenv("JACK_NO_START_SERVER", "1", 1);
        jack_set_error_function([](const char* message) { JackErrors().Record(message); });
        jack_set_info_function([](const char*) {});
        snd_lib_error_set_handler(DropAlsaMessage);
    });
}
