#pragma once

#include "platform/keys/KeyboardReaders.h"

// Lock toggles a test sets by hand.
class FakeLockKeys final : public LockKeySource {
public:
    LockKeys ReadLockKeys() override { return locks; }
    LockKeys locks;
};
