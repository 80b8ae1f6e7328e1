#include "platform/random/CrtRandom.h"

int CrtRandom::Rand()
{
    seed_ = seed_ * 214013u + 2531011u;
    return static_cast<int>((seed_ >> 16) & 0x7FFF);
}
