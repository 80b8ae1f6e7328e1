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
        PianoKey& key = state.keys[index];
        if (key.rect.Contains(x, y)) {
            key.down = 1;
            state.midiOut.NoteOn(key.note, kVelocityOn, kChannel);
            view.InvalidateRect(key.rect);
            return index;
        }
    }
    return -1;
}

void MouseRelease(AppState& state, ViewSurface& view)
{
    for (int i = 0; i < kMouseKeyCount; ++i) {
        PianoKey& key = state.keys[i];
        if (key.down == 1) {
            key.down = 0;
            view.InvalidateRect(key.rect);
            state.midiOut.NoteOn(key.note, kVelocityOff, kChannel);
        }
    }
}
