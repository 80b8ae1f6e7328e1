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
};
