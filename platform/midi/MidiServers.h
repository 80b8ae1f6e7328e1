#pragma once

#include <optional>
#include <string>

// Whether the MIDI services RtMidi talks to can be reached here. RtMidi prints a line of
// its own when its ALSA or JACK back end cannot start, before a caller can install an
// error callback; asking the libraries first keeps the terminal clean. Any thread.

// True when a JACK server runs; never starts one.
bool JackServerRuns();

// Why the ALSA sequencer cannot be opened ("No such file or directory" without
// /dev/snd/seq); nothing when it opens.
std::optional<std::string> AlsaSequencerFailure();
