#pragma once

#include "core/AppState.h"
#include "core/RandomSource.h"

// Draws a random program from 0 to 126 and sends it on channel 0; sounding keys keep
// sounding. The caller repaints the view, since the instrument's name changes.
void PickRandomInstrument(AppState& state, RandomSource& random);
