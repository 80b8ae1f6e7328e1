#include "core/MouseInput.h"

#include <array>

#include "core/Instrument.h"

namespace {
// Black keys first, then white keys, each in index order.
constexpr std::array<std::uint8_t, kMouseKeyCount> kHitTestOrder = { 1, 3, 6, 8, 10, 0, 2, 4, 5, 7, 9, 11 };
}

int MousePress(AppState& state, ViewSurface& view, RandomSource& random, std::int32_t x, std::int32_t y)
{
    PickRandomInstrument(state, random);
    view.InvalidateAll();
    for (const std::uint8_t index : kHitTestOrder) {
        if (state.keys[index].rect.Contains(x, y)) {
            SetKeyState(state, view, index, 1);
            return index;
        }
    }
    return -1;
}

void MouseRelease(AppState& state, ViewSurface& view)
{
    ReleaseSoundingKeys(state, kMouseKeyCount, &view);
}
