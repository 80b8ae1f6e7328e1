#include "core/AppState.h"

#include "core/Transport.h"

namespace {
constexpr std::array<std::uint8_t, kKeysPerOctave> kIsBlackKey = { 0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0 };
constexpr std::array<std::int32_t, kKeysPerOctave> kKeyOffset
    = { 0, 30, 50, 90, 100, 150, 180, 200, 235, 250, 290, 300 };
constexpr std::int32_t kOctaveWidth = 350;
constexpr std::int32_t kWhiteKeyWidth = 51;
constexpr std::int32_t kWhiteKeyHeight = 300;
constexpr std::int32_t kBlackKeyWidth = 30;
constexpr std::int32_t kBlackKeyHeight = 160;
// Letters bound to keys 0 to 15, two rows of the keyboard like a piano's white and black keys.
constexpr std::array<char, kPolledKeyCount> kKeyLetters
    = { 'A', 'W', 'S', 'E', 'D', 'F', 'R', 'G', 'T', 'H', 'Y', 'J', 'K', 'I', 'L', 'O' };
}

void ResetAppState(AppState& state)
{
    // An empty log and both counters at 0, as REC then STOP leave them.
    OnRec(state);
    OnStop(state);
    state.isBlackKey = kIsBlackKey;
    state.keyOffset = kKeyOffset;
    for (int i = 0; i < kKeyCount; ++i) {
        PianoKey& key = state.keys[i];
        key.note = static_cast<std::uint8_t>(kLowestNote + i);
        key.down = 0;
        const int inOctave = i % kKeysPerOctave;
        const bool black = state.isBlackKey[inOctave] == 1;
        const std::int32_t left = state.keyOffset[inOctave] + (i / kKeysPerOctave) * kOctaveWidth;
        key.rect
            = { left, 0, left + (black ? kBlackKeyWidth : kWhiteKeyWidth), black ? kBlackKeyHeight : kWhiteKeyHeight };
        key.vkey = i < kPolledKeyCount ? static_cast<std::uint8_t>(kKeyLetters[i]) : 0;
    }
}

void SetKeyState(AppState& state, ViewSurface& view, std::uint8_t index, std::uint8_t down)
{
    if (index >= kKeyCount) {
        return;
    }
    PianoKey& key = state.keys[index];
    key.down = down;
    state.midiOut.NoteOn(key.note, down == 1 ? kVelocityOn : kVelocityOff, kChannel);
    view.InvalidateRect(key.rect);
}

void ReleaseSoundingKeys(AppState& state, int keyCount, ViewSurface* view)
{
    for (int i = 0; i < keyCount; ++i) {
        PianoKey& key = state.keys[i];
        if (key.down == 1) {
            key.down = 0;
            state.midiOut.NoteOn(key.note, kVelocityOff, kChannel);
            if (view != nullptr) {
                view->InvalidateRect(key.rect);
            }
        }
    }
}
