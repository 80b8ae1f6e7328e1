#pragma once

#include <cstdint>

// Virtual-key codes the instrument reads: a letter's code is its upper-case ASCII code.
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkNumpad1 = 0x61;
// The start-up flush queries every code below this one.
inline constexpr int kVkFlushEnd = 127;

// The physical keyboard, read whatever window has the focus. Runs on the UI thread.
class KeyStateSource {
public:
    virtual ~KeyStateSource() = default;

    // Takes a fresh look at the keyboard. The tick calls it once before each batch of
    // queries, so a back end can read the whole keyboard once per tick.
    virtual void Refresh() = 0;

    // Non-zero when the key is down now, or was pressed since the previous query of
    // this key; the query clears that key's pressed-since memory and no other's.
    virtual std::uint16_t GetAsyncKeyState(int virtualKey) = 0;

    // For a reader that hears of every press as an event, so the tick clock may rest
    // (ui/TickClock.h): a descriptor that becomes readable with the next key event; -1
    // when only steady polling sees every press.
    virtual int RestWakeDescriptor() const { return -1; }
    // True when no key event waits and no key was down at the last look: until the wake
    // descriptor becomes readable, every key reads up.
    virtual bool KeysAtRest() { return false; }
};
