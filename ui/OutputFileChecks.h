#pragma once

#include <optional>
#include <string>

#include "platform/midi/MidiOutputSettings.h"

// The refusal ("tavo: ..." without a newline) for an --audio-file take that must not
// be written, or nothing when it may be. The take must be a new name or a regular
// file, and not the same file (whatever links lead there) as a soundfont the built-in
// synthesizer may load, the name list beside the executable, or the executable itself.
// Only looks: run it before anything opens the take, since opening truncates it.
std::optional<std::string> RefuseAudioFile(const MidiOutputSettings& settings);

// The same for a --midi-file take, which must not be the --audio-file take either; and
// since it is written at every change, a folder (or a file) that cannot be written is
// refused now ("tavo: cannot write the MIDI take to ..."), before the window opens.
std::optional<std::string> RefuseMidiFile(const std::string& midiFile, const MidiOutputSettings& settings);
