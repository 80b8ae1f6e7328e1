#include "midi/StandardMidiFile.h"

#include "midi/ShortMessage.h"

namespace {

constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kSetTempo = 0x51;
constexpr std::uint8_t kEndOfTrack = 0x2F;

void AppendBigEndian(std::string& bytes, std::uint32_t value, int length)
{
    for (int shift = 8 * (length - 1); shift >= 0; shift -= 8) {
        bytes += static_cast<char>((value >> shift) & 0xFF);
    }
}

// The file format's variable-length quantity: seven bits a byte, most significant first,
// every byte but the last with its top bit set.
void AppendVariableLength(std::string& bytes, std::uint32_t value)
{
    int groups = 1;
    while (groups < 5 && (value >> (7 * groups)) != 0) {
        ++groups;
    }
    for (int group = groups - 1; group > 0; --group) {
        bytes += static_cast<char>(0x80 | ((value >> (7 * group)) & 0x7F));
    }
    bytes += static_cast<char>(value & 0x7F);
}

std::string Track(std::span<const TimedMessage> take)
{
    std::string track;
    AppendVariableLength(track, 0);
    track += { static_cast<char>(kMetaEvent), static_cast<char>(kSetTempo), 3 };
    AppendBigEndian(track, kMicrosecondsPerQuarterNote, 3);
    std::uint32_t lastTick = 0;
    for (const TimedMessage& timed : take) {
        AppendVariableLength(track, timed.millisecond - lastTick);
        lastTick = timed.millisecond;
        const ShortMessage message = UnpackShortMessage(timed.message);
        const char bytes[]
            = { static_cast<char>(message.status), static_cast<char>(message.data1), static_cast<char>(message.data2) };
        track.append(bytes, message.Length());
    }
    AppendVariableLength(track, 0);
    track += { static_cast<char>(kMetaEvent), static_cast<char>(kEndOfTrack), 0 };
    return track;
}

}

std::string EncodeStandardMidiFile(std::span<const TimedMessage> take)
{
    constexpr std::uint16_t kFormat = 0;
    constexpr std::uint16_t kTracks = 1;
    constexpr std::uint32_t kHeaderLength = 6;
    std::string file = "MThd";
    AppendBigEndian(file, kHeaderLength, 4);
    AppendBigEndian(file, kFormat, 2);
    AppendBigEndian(file, kTracks, 2);
    AppendBigEndian(file, kTicksPerQuarterNote, 2);
    const std::string track = Track(take);
    file += "MTrk";
    AppendBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
    return file + track;
}
