#include "soak/InvariantMonitor.h"

#include <cstdio>

namespace {
constexpr std::uint8_t kNoteOnChannel0 = 0x90;
constexpr std::uint8_t kProgramChangeChannel0 = 0xC0;
constexpr std::uint8_t kHighestProgram = 126;

std::string Describe(std::uint32_t message)
{
    char text[24] {};
    std::snprintf(text, sizeof text, "message 0x%06X", message);
    return text;
}
}

std::string InvariantMonitor::TakeMessages(std::span<const std::uint32_t> messages)
{
    for (const std::uint32_t message : messages) {
        const std::uint32_t status = message & 0xFF;
        const std::uint32_t data1 = (message >> 8) & 0xFF;
        const std::uint32_t data2 = (message >> 16) & 0xFF;
        if ((message >> 24) != 0) {
            return Describe(message) + ": bits above the second data byte";
        }
        if (status == kNoteOnChannel0) {
            if (data1 < kLowestNote || data1 >= kLowestNote + kKeyCount) {
                return Describe(message) + ": note outside the keyboard";
            }
            if (data2 != kVelocityOn && data2 != kVelocityOff) {
                return Describe(message) + ": velocity other than 0 or 127";
            }
            lastVelocity_[data1] = static_cast<int>(data2);
            ++noteOns;
        } else if (status == kProgramChangeChannel0) {
            if (data1 > kHighestProgram || data2 != 0) {
                return Describe(message) + ": program outside 0 to 126";
            }
            ++programChanges;
        } else {
            return Describe(message) + ": status other than note-on or program change on channel 0";
        }
    }
    return {};
}

std::string InvariantMonitor::CheckState(const AppState& state) const
{
    for (int i = 0; i < kKeyCount; ++i) {
        const PianoKey& key = state.keys[i];
        const std::string which = "key " + std::to_string(i);
        if (key.note != kLowestNote + i) {
            return which + ": note changed to " + std::to_string(key.note);
        }
        if (key.down > 1) {
            return which + ": down flag " + std::to_string(key.down);
        }
        const bool sounding = lastVelocity_[key.note] == kVelocityOn;
        if ((key.down == 1) != sounding) {
            return which + ": down flag " + std::to_string(key.down) + " but the last message for its note "
                + (sounding ? "pressed" : "released") + " it";
        }
    }
    if (state.logFrame < 0 || state.logFrame > kLogCapacity) {
        return "logFrame " + std::to_string(state.logFrame) + " outside 0 to 1023";
    }
    if (state.log[kLogCapacity].key != LOG_END) {
        return "log entry 1023 lost its end marker";
    }
    return {};
}

std::string InvariantMonitor::CheckSilence(const AppState& state) const
{
    for (int note = 0; note < kNoteCount; ++note) {
        if (lastVelocity_[note] == kVelocityOn) {
            return "note " + std::to_string(note) + " still sounds";
        }
    }
    for (int i = 0; i < kKeyCount; ++i) {
        if (state.keys[i].down != 0) {
            return "key " + std::to_string(i) + " still down";
        }
    }
    return {};
}
