#pragma once

#include <cstdint>

#include "core/AppState.h"

// The "MIDI" menu's commands. Each is accepted in any mode; none sends MIDI, touches
// the keys or requests a repaint.

// Clears the log and starts recording from frame 0.
void OnRec(AppState& state);
// Replays the log from its first entry; the log itself is kept.
void OnPlay(AppState& state);
// Stops recording or playback; counters keep their values and no key is released.
void OnStop(AppState& state);

// While recording, appends a key change stamped with the current recFrame; the log
// stops itself after its 1023rd entry. Called before the change is sounded.
void RecordKeyChange(AppState& state, std::uint8_t index, std::uint8_t on);
