#pragma once

#include <cstdint>

// A rectangle in view client pixels. The right and bottom edges lie outside it,
// so two white keys on a 50-pixel pitch, 51 wide, share one border column.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    // Left and top edges inside, right and bottom edges outside.
    constexpr bool Contains(std::int32_t x, std::int32_t y) const
    {
        return x >= left && x < right && y >= top && y < bottom;
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};
