#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "midi/MidiDevice.h"

// Keeps every message sent, in order, in a list the test shares with the port that owns the device.
class RecordingMidiDevice final : public MidiDevice {
public:
    explicit RecordingMidiDevice(std::shared_ptr<std::vector<std::uint32_t>> sent)
        : sent_(std::move(sent))
    {
    }
    void SendShortMessage(std::uint32_t message) override { sent_->push_back(message); }

private:
    std::shared_ptr<std::vector<std::uint32_t>> sent_;
};
