#pragma once

#include <array>
#include <functional>
#include <memory>

#include "platform/keys/KeyboardReaders.h"
#include "platform/keys/X11Display.h"

class QSocketNotifier;

// The lock toggles of an X server's core keyboard, read from its XKB indicators on a
// connection of its own, which also brings the server's word when an indicator changes.
// An indicator the keymap does not name reads as off.
class X11LockKeySource final : public LockKeySource {
public:
    // UI thread. Null when no X server answers on `displayName` ($DISPLAY when null).
    static std::unique_ptr<X11LockKeySource> Open(const char* displayName);

    // UI thread. One round trip to the server.
    LockKeys ReadLockKeys() override;

    // UI thread. Follows the server's indicator events; false without XKB.
    bool WatchChanges(std::function<void()> changed) override;

    // UI thread. Reads the indicators on `display`, which it keeps open until it goes.
    explicit X11LockKeySource(X11Display display);
    ~X11LockKeySource() override;
    X11LockKeySource(const X11LockKeySource&) = delete;
    X11LockKeySource& operator=(const X11LockKeySource&) = delete;

private:
    static constexpr int kNoIndicator = -1;

    // Takes every event that came in; calls changed_ once when an indicator was among them.
    void TakeEvents();

    X11Display display_;
    bool hasXkb_ = false;
    int xkbEventBase_ = 0;
    std::function<void()> changed_;
    std::unique_ptr<QSocketNotifier> notifier_;
    // Indicator indices of the locks, named once: layout changes keep the indicator
    // names where they are.
    std::array<int, kLockKeyCount> indicatorIndex_ {};
};
