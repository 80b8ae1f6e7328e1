#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "LatencyStats.h"
#include "midi/MidiDevice.h"

// A MIDI device that keeps every message with the moment it was handed over and the
// tick counter it was sent on: where Tavo's own part of a note's way ends.
class StampingMidiDevice final : public MidiDevice {
public:
    struct Sent {
        BenchClock::time_point time;
        std::uint32_t message;
        std::int32_t recFrame;
    };

    // UI thread, before the first message: the counter read with each message.
    void WatchRecFrame(const std::int32_t& recFrame) { recFrame_ = &recFrame; }

    // UI thread.
    void SendShortMessage(std::uint32_t message) override
    {
        const BenchClock::time_point now = BenchClock::now();
        std::lock_guard lock(mutex_);
        sent_.push_back({ now, message, recFrame_ != nullptr ? *recFrame_ : 0 });
    }

    // Any thread.
    std::vector<Sent> SentSoFar() const
    {
        std::lock_guard lock(mutex_);
        return sent_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Sent> sent_;
    const std::int32_t* recFrame_ = nullptr;
};
