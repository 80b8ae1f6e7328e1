#pragma once

#include <array>
#include <memory>

#include "platform/keys/KeyboardReaders.h"
#include "platform/keys/X11Display.h"

// The lock toggles of an X server's core keyboard, read from its XKB indicators on a
// connection of its own. An indicator the keymap does not name reads as off.
class X11LockKeySource final : public LockKeySource {
public:
    // UI thread. Null when no X server answers on `displayName` ($DISPLAY when null).
    static std::unique_ptr<X11LockKeySource> Open(const char* displayName);

    // UI thread. One round trip to the server.
    LockKeys ReadLockKeys() override;

    // UI thread. Reads the indicators on `display`, which it keeps open until it goes.
    explicit X11LockKeySource(X11Display display);

private:
    static constexpr int kNoIndicator = -1;

    X11Display display_;
    bool hasXkb_ = false;
    // Indicator indices of Kana, Caps Lock, Num Lock and Scroll Lock, named once: layout
    // changes keep the indicator names where they are.
    std::array<int, 4> indicatorIndex_ {};
};
