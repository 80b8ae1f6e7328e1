#pragma once

#include <optional>
#include <string>

// Why the ALSA sequencer cannot be opened ("No such file or directory" without
// /dev/snd/seq); nothing when it opens. RtMidi prints a line of its own when its ALSA
// back end cannot start, before a caller can install an error callback; asking alsa-lib
// first keeps the terminal clean. Any thread.
std::optional<std::string> AlsaSequencerFailure();
