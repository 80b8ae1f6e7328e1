#include <gtest/gtest.h>

#include "platform/random/CrtRandom.h"

// The classic C run-time's sequence from seed 1, which decides the instruments drawn.
TEST(CrtRandomTest, DrawsTheClassicSequence)
{
    CrtRandom random;
    for (const int expected : { 41, 18467, 6334, 26500, 19169, 15724 }) {
        EXPECT_EQ(random.Rand(), expected);
    }
}
