#pragma once

#include <string>

// How the built-in synthesizer makes its sound. Empty fields take the defaults.
struct MidiOutputSettings {
    std::string soundfont; // empty: /usr/share/sounds/sf2/TimGM6mb.sf2, then the system's default-GM.sf2
    std::string audioDriver; // empty: the first that starts of pulseaudio, jack, alsa
    std::string audioFile; // non-empty: the built-in synthesizer renders to this WAV file in real time
};
