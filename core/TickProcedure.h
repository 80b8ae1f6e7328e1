#pragma once

#include <cstdint>

#include "core/AppState.h"
#include "core/KeyStateSource.h"
#include "core/RandomSource.h"
#include "core/ViewSurface.h"

// Ticks handled since start, in every mode; stops at the largest 32-bit value.
extern std::int32_t g_tickCount;
// 1 while a space-bar press has been acted on and the bar is still held.
extern std::uint8_t g_spaceLatch;

// The area holding the two transport counters the view draws while recording or playing.
inline constexpr Rect kCounterArea { 0, 300, 150, 380 };
// The first nine handled ticks only empty the keys' pressed-since memory.
inline constexpr std::int32_t kFirstPollingTick = 10;

// What one tick reaches outside the performance state.
struct TickServices {
    ViewSurface& view;
    KeyStateSource& keys;
    RandomSource& random;
};

// One handled tick, on the UI thread: advances recording or plays one log entry; outside
// playback polls the 16 letters and the space bar. Clears the timer's pending flag last,
// on every path, which lets the next tick in.
void OnTick(AppState& state, const TickServices& services);
