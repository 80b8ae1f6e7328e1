#include "platform/midi/MidiServers.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include "platform/midi/LibraryErrorLog.h"

bool JackServerRuns()
{
    PrepareSoundLibraries();
    jack_status_t status {};
    jack_client_t* probe = jack_client_open("tavo-probe", JackNoStartServer, &status);
    if (probe == nullptr) {
        return false;
    }
    jack_client_close(probe);
    return true;
}

std::optional<std::string> AlsaSequencerFailure()
{
    PrepareSoundLibraries();
    snd_seq_t* probe = nullptr;
    if (const int error = snd_seq_open(&probe, "default", SND_SEQ_OPEN_OUTPUT, 0); error < 0) {
        return snd_strerror(error);
    }
    snd_seq_close(probe);
    return std::nullopt;
}
