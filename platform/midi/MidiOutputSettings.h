#pragma once

#include <string>

// How the built-in synthesizer makes its sound. Empty fields take the defaults.
struct MidiOutputSettings {
    std::string soundfont; // empty: /usr/share/sounds/sf2/TimGM6mb.sf2, then the system's default-GM.sf2
    std::string audioDriver; // empty: the first that starts of pulseaudio, jack, alsa
    // Non-empty: the built-in synthesizer renders to this file in real time, in the format
    // its extension names (AudioFileFormats.h).
    std::string audioFile;
};
