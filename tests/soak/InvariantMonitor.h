#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/AppState.h"

// Watches a running instrument from outside: every message it sends, and its state.
// Each check returns an empty string when everything holds, otherwise what broke.
class InvariantMonitor {
public:
    // Takes the messages sent since the last call, in order: only note-on and program
    // change on channel 0, data bytes 0 to 127, velocities 0 or 127, programs 0 to 126,
    // notes only those of the keyboard. Remembers each note's last velocity.
    std::string TakeMessages(std::span<const std::uint32_t> messages);

    // Every down flag is 0 or 1 and agrees with the last message sent for its note
    // (a note never sent counts as silent); the log index stays inside the log and the
    // log's last entry keeps its end marker.
    std::string CheckState(const AppState& state) const;

    // No note sounds: every note's last message was a release, and no key is down.
    std::string CheckSilence(const AppState& state) const;

    int noteOns = 0;
    int programChanges = 0;

private:
    static constexpr int kNoteCount = 128;
    static constexpr int kNeverSent = -1;
    std::array<int, kNoteCount> lastVelocity_ = MakeNeverSent();

    static constexpr std::array<int, kNoteCount> MakeNeverSent()
    {
        std::array<int, kNoteCount> velocities {};
        velocities.fill(kNeverSent);
        return velocities;
    }
};
