#pragma once

#include <random>
#include <vector>

#include "LatencyStats.h"
#include "XInjector.h"

// The presses the latency benchmarks make, at random phases of the program's 10 ms poll.
// Injector's thread; each returns after a short drain, so the last change is answered.

struct KeyStrokes {
    std::vector<BenchClock::time_point> presses;
    std::vector<BenchClock::time_point> releases;
};

// `count` presses and releases of A, each 20 to 60 ms after the change before it.
KeyStrokes TypeLetterA(XInjector& injector, std::mt19937& random, int count);

// `count` clicks of button 1 at root (x, y), 300 to 400 ms apart and held 30 to 80 ms:
// the times of the presses.
std::vector<BenchClock::time_point> ClickAt(XInjector& injector, std::mt19937& random, int x, int y, int count);
