#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/Rect.h"
#include "core/ViewSurface.h"
#include "midi/MidiOutPort.h"

inline constexpr int kKeyCount = 24;
// Keys 0 to 15 are bound to letters and polled; the mouse reaches keys 0 to 11.
inline constexpr int kPolledKeyCount = 16;
inline constexpr int kMouseKeyCount = 12;
inline constexpr int kKeysPerOctave = 12;
inline constexpr std::uint8_t kLowestNote = 60;

inline constexpr int kLogSize = 1024;
// Recording stops after this many entries, so the last entry always keeps LOG_END.
inline constexpr int kLogCapacity = kLogSize - 1;
inline constexpr std::uint8_t LOG_END = 254;

inline constexpr std::size_t kNameTextSize = 4096;

inline constexpr std::uint8_t kVelocityOn = 127;
inline constexpr std::uint8_t kVelocityOff = 0;
inline constexpr std::uint8_t kChannel = 0;

enum class TransportMode : std::uint8_t { ModeStop = 0, ModeRec = 1, ModePlay = 2 };

struct PianoKey {
    Rect rect;
    std::uint8_t note = 0;
    std::uint8_t vkey = 0; // letter's virtual-key code; 0 when unbound
    std::uint8_t down = 0; // 1 while the key sounds
};

struct LogEvent {
    std::uint8_t key = 0; // index into keys, or LOG_END
    std::uint8_t on = 0; // 1 press, 0 release
    std::int32_t frame = 0;
};

// All performance state of the program, owned by the application object for the whole
// run and touched only on the UI thread.
struct AppState {
    explicit AppState(std::unique_ptr<MidiDevice> device)
        : midiOut(std::move(device))
    {
    }

    MidiOutPort midiOut;
    std::uint8_t program = 0; // 0 to 126; kept by ResetAppState
    std::array<std::uint8_t, kKeysPerOctave> isBlackKey {};
    std::array<std::int32_t, kKeysPerOctave> keyOffset {};
    std::array<LogEvent, kLogSize> log {};
    std::int32_t logFrame = 0;
    std::int32_t recFrame = 0;
    TransportMode mode = TransportMode::ModeStop;
    std::array<PianoKey, kKeyCount> keys {};
    // The instrument list as NUL-terminated text; empty until a list is read.
    std::array<char, kNameTextSize> nameText {};
};

// Start-up reset: transport stopped, counters 0, log cleared, the 24-key table built.
// Leaves program and nameText alone.
void ResetAppState(AppState& state);

// Presses (down 1) or releases (down 0) a key: sets its flag, sends the note-on with
// velocity 127 or 0 on channel 0, and asks the view to repaint the key. Sends even when
// the key is already in that state. An index outside the keyboard is ignored.
void SetKeyState(AppState& state, ViewSurface& view, std::uint8_t index, std::uint8_t down);

// Sends the release of every key below `keyCount` still sounding, so no note is left
// hanging when the port closes or the mouse lets go. Clears the flags; asks `view`, if
// any, to repaint each released key.
void ReleaseSoundingKeys(AppState& state, int keyCount = kKeyCount, ViewSurface* view = nullptr);

// Adds one to a counter, stopping at the largest 32-bit value instead of wrapping.
constexpr void SaturatingIncrement(std::int32_t& counter)
{
    if (counter < INT32_MAX) {
        ++counter;
    }
}
