#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <memory>

#include "core/KeyStateSource.h"
#include "platform/keys/X11Display.h"

// The keyboard's lock toggles, in the order of the status bar's indicator panes: Kana,
// Caps Lock, Num Lock, Scroll Lock. True while the lock is on; unknown reads as off.
inline constexpr int kLockKeyCount = 4;
using LockKeys = std::array<bool, kLockKeyCount>;

// Where the status bar's indicator panes read the locks, on the UI thread.
class LockKeySource {
public:
    virtual ~LockKeySource() = default;

    // Asks the keyboard afresh on every call.
    virtual LockKeys ReadLockKeys() = 0;

    // Has `changed` called from the event loop whenever the locks may have changed. A
    // source whose locks always read off has nothing to tell.
    virtual void WatchChanges(std::function<void()> /*changed*/) { }
};

struct KeyboardReaders {
    std::unique_ptr<KeyStateSource> keys;
    std::unique_ptr<LockKeySource> locks;
};

// UI thread, once, after the QApplication exists. Picks X11 with XInput2 raw events, X11
// polling XQueryKeymap only (no XInput2 >= 2.1: says that a tap between two ticks can
// be lost), or the program's own Qt key events (no X11: Wayland, Qt's offscreen
// platform); says once on `notices` which fallback it took and why ("tavo: ..."), and
// when the X server read is XWayland, that keys count only while a Tavo window has the focus.
// Reads X11 on the display check's connection when it reached Qt's server.
KeyboardReaders CreateKeyboardReaders(std::ostream& notices, X11Display checkedConnection = {});
