#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "midi/StandardMidiFile.h"

// The messages sent to the output, each timed from the take's first message (time 0) to
// the millisecond below. The clock is injected so that tests move time themselves. UI
// thread only.
class MidiTake {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit MidiTake(Clock clock = [] { return std::chrono::steady_clock::now(); });

    // Adds a message packed as ShortMessage.h says, timed now.
    void Record(std::uint32_t message);

    const std::vector<TimedMessage>& Messages() const { return messages_; }

private:
    Clock clock_;
    std::optional<std::chrono::steady_clock::time_point> start_;
    std::vector<TimedMessage> messages_;
};
