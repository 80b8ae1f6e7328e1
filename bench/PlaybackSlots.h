#pragma once

#include <cstdint>
#include <vector>

#include "core/AppState.h"

// The tick, counted from PLAY, on which each recorded entry is due to play: its own
// frame, or the tick after the entry before it when that is later, since one tick plays
// at most one entry. The first tick after PLAY is 1.
std::vector<std::int32_t> ExpectedPlaySlots(const std::vector<LogEvent>& recorded);
