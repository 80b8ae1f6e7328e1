#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/KeyStateSource.h"
#include "platform/keys/KeyboardReaders.h"
#include "platform/keys/PressedSinceMemory.h"
#include "platform/keys/X11Display.h"

// How the X11 key state learns of presses made between two ticks.
enum class X11PressEvents {
    RawXInput2, // XInput2 raw key presses, seen whatever window has the focus or a grab
    None, // XQueryKeymap alone: a key tapped between two snapshots is missed
};

// The physical keyboard of an X server, read on the program's one connection of its own,
// on the UI thread: XQueryKeymap gives the down-now state once per Refresh, XInput2 raw
// key presses the pressed-since memory. Letters follow the server's current layout; a
// letter the layout lacks (Cyrillic, Greek) stays on the key where a US layout has it.
class X11KeyState final : public KeyStateSource {
public:
    // Reads on `connection`, taken over on success. Returns null and says why in `whyNot`,
    // leaving `connection` as it was, when for RawXInput2 the server lacks XInput2 >= 2.1.
    static std::unique_ptr<X11KeyState> Open(X11Display& connection, X11PressEvents events, std::string& whyNot);

    // Skips the keymap's round trip when nothing can have changed since the last one.
    void Refresh() override;
    std::uint16_t GetAsyncKeyState(int virtualKey) override;

    // Only with raw presses tracked: without them a press between two snapshots sends no
    // event, so the clock never rests.
    int RestWakeDescriptor() const override;
    bool KeysAtRest() override;

    // The X keycode a virtual-key code reads under the current layout, 0 when none.
    int KeycodeOf(int virtualKey) const;

    // The lock indicators are read on this connection too.
    _XDisplay* Connection() const { return display_.get(); }
    bool HasXkb() const { return xkbEventBase_ >= 0; }
    // Has `changed` called from Refresh whenever the server says a lock indicator
    // changed; the clock's tick runs for the event even while it rests.
    void WatchIndicators(std::function<void()> changed);

private:
    X11KeyState(X11Display display, int xinputOpcode, int xkbEventBase);

    static constexpr int kKeycodes = 256;
    static constexpr int kVirtualKeys = 256;

    void MapVirtualKeys();
    // True when a press or a layout change came in, which makes the snapshot out of date.
    bool TakePendingEvents();
    bool IsDownInSnapshot(int keycode) const;
    bool AnyWatchedKeyDown() const;

    X11Display display_;
    int xinputOpcode_; // -1 when presses are not tracked
    int xkbEventBase_; // -1 without XKB
    std::array<std::uint8_t, kVirtualKeys> keycodeOf_ {};
    std::array<char, kKeycodes / 8> keymap_ {};
    bool snapshotStale_ = true; // no snapshot yet, or one older than the last press
    PressedSinceMemory pressedSince_ { kKeycodes };
    std::function<void()> indicatorsChanged_;
};
