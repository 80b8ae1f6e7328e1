#include "platform/midi/MidiServers.h"

#include <alsa/asoundlib.h>

#include "platform/midi/LibraryErrorLog.h"

std::optional<std::string> AlsaSequencerFailure()
{
    SetJackNoStartServerAndQuietSoundLibraries();
    snd_seq_t* probe = nullptr;
    if (const int error = snd_seq_open(&probe, "default", SND_SEQ_OPEN_OUTPUT, 0); error < 0) {
        return snd_strerror(error);
    }
    snd_seq_close(probe);
    return std::nullopt;
}
