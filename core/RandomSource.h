#pragma once

// The run-time library's rand(): never seeded, so every run draws the same sequence.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A value from 0 to 0x7FFF.
    virtual int Rand() = 0;
};
