#include "support/FakeKeyboard.h"

void FakeKeyboard::Press(int virtualKey)
{
    down_.at(virtualKey) = true;
    pressedSinceQuery_.at(virtualKey) = true;
}

void FakeKeyboard::Release(int virtualKey)
{
    down_.at(virtualKey) = false;
}

void FakeKeyboard::Tap(int virtualKey)
{
    Press(virtualKey);
    Release(virtualKey);
}

std::uint16_t FakeKeyboard::GetAsyncKeyState(int virtualKey)
{
    queries.push_back(virtualKey);
    const std::uint16_t state
        = (down_.at(virtualKey) ? kKeyDownBit : 0) | (pressedSinceQuery_.at(virtualKey) ? kPressedSinceBit : 0);
    pressedSinceQuery_.at(virtualKey) = false;
    return state;
}
