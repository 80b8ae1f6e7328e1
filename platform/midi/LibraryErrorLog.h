#pragma once

#include <atomic>
#include <mutex>
#include <string>

// The errors one sound library reported, kept instead of printed, so that Tavo can
// turn a failure into one line of its own. Libraries report from their own threads
// (JACK's client thread, FluidSynth's audio thread), so every member is thread-safe.
class LibraryErrorLog {
public:
    void Record(std::string message);
    // A device compares it with the count it saw when it opened to notice a later failure.
    unsigned Count() const { return count_.load(); }
    // The newest error, empty when there was none.
    std::string Last() const;

private:
    mutable std::mutex mutex_;
    std::string last_;
    std::atomic<unsigned> count_ { 0 };
};

LibraryErrorLog& FluidSynthErrors();
LibraryErrorLog& JackErrors();

// Sends the errors of libjack to its log above, drops its chatter and everything alsa-lib
// prints (a failing ALSA port says so through RtMidi), and sets JACK_NO_START_SERVER so
// that no JACK client of this process (FluidSynth's or RtMidi's) ever starts a server.
// FluidSynth's errors reach their log once the library loads (LoadFluidSynth). Runs once
// per process; call it before creating any library object, on the thread that owns the
// environment (it sets a variable). UI thread.
void SetJackNoStartServerAndQuietSoundLibraries();
