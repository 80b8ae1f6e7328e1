#pragma once

#include <cstdint>
#include <span>
#include <string>

// One message of a take: a packed short message (ShortMessage.h) and when it was sent,
// in milliseconds since the take's first message.
struct TimedMessage {
    std::uint32_t millisecond = 0;
    std::uint32_t message = 0;
};

// The ticks per quarter note of the files written, at a tempo of one quarter note per
// second: one tick is one millisecond, the resolution the take is timed with.
inline constexpr std::uint16_t kTicksPerQuarterNote = 1000;
inline constexpr std::uint32_t kMicrosecondsPerQuarterNote = 1'000'000;

// A Standard MIDI File, format 0, holding `take` in order: the tempo first, each message
// with the bytes it was sent as (no running status), End of Track last. An empty take is
// a valid file with an empty track. Times must not go backwards. Plain data, any thread.
std::string EncodeStandardMidiFile(std::span<const TimedMessage> take);
