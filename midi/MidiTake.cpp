#include "midi/MidiTake.h"

MidiTake::MidiTake(Clock clock)
    : clock_(std::move(clock))
{
}

void MidiTake::Record(std::uint32_t message)
{
    const auto now = clock_();
    if (!start_) {
        start_ = now;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - *start_);
    messages_.push_back({ static_cast<std::uint32_t>(elapsed.count()), message });
}
