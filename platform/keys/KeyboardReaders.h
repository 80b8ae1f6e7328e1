#pragma once

#include <functional>
#include <iosfwd>
#include <memory>

#include "core/KeyStateSource.h"

// The keyboard's lock toggles, for the status bar's indicator panes.
struct LockKeys {
    bool kana = false;
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// The keyboard's lock toggles, for the status bar's indicator panes; unknown reads as off.
class LockKeySource {
public:
    virtual ~LockKeySource() = default;

    // UI thread. Asks the keyboard afresh on every call.
    virtual LockKeys ReadLockKeys() = 0;

    // UI thread. Has `changed` called from the event loop whenever the locks may have
    // changed, and returns true; false when this source cannot tell, so the caller polls.
    virtual bool WatchChanges(std::function<void()> /*changed*/) { return false; }
};

// A key reader that learns of every key press from events, so that a clock may sleep
// while the keyboard is quiet and wake on the next event.
class KeyPressWaker {
public:
    // UI thread. True when no event waits to be read and no key was down at the last
    // look: until the wake descriptor becomes readable, every key reads up.
    virtual bool KeyboardIsQuiet() = 0;
    // A descriptor that becomes readable when the next key event arrives.
    virtual int WakeDescriptor() const = 0;

protected:
    ~KeyPressWaker() = default;
};

struct KeyboardReaders {
    std::unique_ptr<KeyStateSource> keys;
    std::unique_ptr<LockKeySource> locks;
    // The keys' reader when it can wake a sleeping clock; null when only steady polling
    // sees every key.
    KeyPressWaker* waker = nullptr;
};

// UI thread, once, after the QApplication exists. Picks X11 with XInput2 raw events, X11
// polling XQueryKeymap only (no XInput2 >= 2.1: says that a tap between two ticks can
// be lost), or the program's own Qt key events (no X11: Wayland, Qt's offscreen
// platform); says once on `notices` which fallback it took and why ("tavo: ...").
KeyboardReaders CreateKeyboardReaders(std::ostream& notices);
