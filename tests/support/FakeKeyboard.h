#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/KeyStateSource.h"

// A physical keyboard a test drives by hand, with the same two properties as the real
// one: down-now state, and a per-key memory of a press since the last query.
class FakeKeyboard final : public KeyStateSource {
public:
    void Press(int virtualKey);
    void Release(int virtualKey);
    // A press and release that both fall between two queries.
    void Tap(int virtualKey);

    void Refresh() override { ++refreshes; }
    std::uint16_t GetAsyncKeyState(int virtualKey) override;

    int refreshes = 0;
    std::vector<int> queries;

private:
    static constexpr int kKeyCodes = 256;
    std::array<bool, kKeyCodes> down_ {};
    std::array<bool, kKeyCodes> pressedSinceQuery_ {};
};

// The poll result's bits: down now, and pressed since the previous query.
inline constexpr std::uint16_t kKeyDownBit = 0x8000;
inline constexpr std::uint16_t kPressedSinceBit = 0x0001;
