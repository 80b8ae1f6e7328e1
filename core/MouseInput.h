#pragma once

#include <cstdint>

#include "core/AppState.h"
#include "core/RandomSource.h"
#include "core/ViewSurface.h"

// The left mouse button on the view. The mouse plays the lower octave, keys 0 to 11;
// its presses are never recorded. UI thread only; the caller repaints at once after each.

// Every press picks a random instrument; a press on a lower-octave key also sounds it.
// Black keys are hit-tested first, as they are drawn over the white ones. Returns the
// index of the key pressed, or -1 when the press hit none.
int MousePress(AppState& state, ViewSurface& view, RandomSource& random, std::int32_t x, std::int32_t y);

// Releases every lower-octave key that is down, whoever pressed it; where the button
// was let go does not matter.
void MouseRelease(AppState& state, ViewSurface& view);
