#pragma once

#include <cstdint>
#include <vector>

// The bits of a key query's answer: down now, and pressed since the previous query.
inline constexpr std::uint16_t kKeyDownNowBit = 0x8000;
inline constexpr std::uint16_t kKeyPressedSinceBit = 0x0001;

inline std::uint16_t KeyStateWord(bool downNow, bool pressedSince)
{
    return static_cast<std::uint16_t>((downNow ? kKeyDownNowBit : 0) | (pressedSince ? kKeyPressedSinceBit : 0));
}

// One "pressed since the last query" flag per key code, for the back ends that learn of
// presses from events that arrive between two queries. Codes out of range are ignored.
class PressedSinceMemory {
public:
    explicit PressedSinceMemory(int codes)
        : flags_(static_cast<std::size_t>(codes), false)
    {
    }

    void MarkPressed(int code)
    {
        if (InRange(code)) {
            flags_[static_cast<std::size_t>(code)] = true;
        }
    }

    // Answers whether the key was pressed since the last call for it, and forgets it.
    bool Take(int code)
    {
        if (!InRange(code)) {
            return false;
        }
        const bool pressed = flags_[static_cast<std::size_t>(code)];
        flags_[static_cast<std::size_t>(code)] = false;
        return pressed;
    }

private:
    bool InRange(int code) const { return code >= 0 && static_cast<std::size_t>(code) < flags_.size(); }

    std::vector<bool> flags_;
};
