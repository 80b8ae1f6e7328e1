#include "support/FakeKeyboard.h"

#include <utility>

void FakeKeyboard::Tap(int virtualKey)
{
    Press(virtualKey);
    Release(virtualKey);
}

std::uint16_t FakeKeyboard::GetAsyncKeyState(int virtualKey)
{
    queries.push_back(virtualKey);
    const bool pressedSince = std::exchange(pressedSinceQuery_.at(virtualKey), false);
    return (down_.at(virtualKey) ? kKeyDownBit : 0) | (pressedSince ? kPressedSinceBit : 0);
}
