#pragma once

#include <array>
#include <functional>

#include "platform/keys/KeyboardReaders.h"
#include "platform/keys/X11KeyState.h"

// The lock toggles of an X server's core keyboard, read from its XKB indicators on the
// key reader's connection, which also brings the server's word when an indicator
// changes. An indicator the keymap does not name reads as off.
class X11LockKeySource final : public LockKeySource {
public:
    // UI thread. Reads on the connection of `keys`, which must outlive this source.
    explicit X11LockKeySource(X11KeyState& keys);

    // UI thread. One round trip to the server.
    LockKeys ReadLockKeys() override;

    // UI thread. Follows the server's indicator events; without XKB every lock reads off.
    void WatchChanges(std::function<void()> changed) override;

private:
    static constexpr int kNoIndicator = -1;

    X11KeyState& keys_;
    // Indicator indices of the locks, named once: layout changes keep the indicator
    // names where they are.
    std::array<int, kLockKeyCount> indicatorIndex_ {};
};
