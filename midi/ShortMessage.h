#pragma once

#include <cstddef>
#include <cstdint>

// The MIDI short messages Tavo sends, and how a device receives them packed in 32 bits:
// status in bits 0-7, first data byte in bits 8-15, second data byte in bits 16-23.
// The one definition of the format: the port packs with it, every back end unpacks
// with it. Plain data, any thread.

inline constexpr std::uint8_t kNoteOnStatus = 0x90;
inline constexpr std::uint8_t kProgramChangeStatus = 0xC0;
inline constexpr std::uint8_t kMaxChannel = 15;
inline constexpr std::uint8_t kMaxDataByte = 127;

constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0)
{
    return static_cast<std::uint32_t>(status) | (static_cast<std::uint32_t>(data1) << 8)
        | (static_cast<std::uint32_t>(data2) << 16);
}

struct ShortMessage {
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    // The status without its channel: kNoteOnStatus, kProgramChangeStatus, ...
    constexpr std::uint8_t Kind() const { return status & 0xF0; }
    constexpr std::uint8_t Channel() const { return status & 0x0F; }
    // Bytes on the wire: a program change carries one data byte, a note-on two.
    constexpr std::size_t Length() const { return Kind() == kProgramChangeStatus ? 2 : 3; }
};

constexpr ShortMessage UnpackShortMessage(std::uint32_t message)
{
    return { static_cast<std::uint8_t>(message & 0xFF), static_cast<std::uint8_t>((message >> 8) & 0xFF),
        static_cast<std::uint8_t>((message >> 16) & 0xFF) };
}
