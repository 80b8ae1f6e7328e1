#pragma once

#include <cstdint>

#include "core/RandomSource.h"

// The classic C run-time's rand(): a linear congruential generator seeded with 1 and
// never reseeded, so every run draws the same instruments (41 first, then 52).
class CrtRandom final : public RandomSource {
public:
    int Rand() override;

private:
    std::uint32_t seed_ = 1;
};
