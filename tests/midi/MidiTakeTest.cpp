#include <gtest/gtest.h>

#include "midi/MidiTake.h"
#include "midi/ShortMessage.h"

namespace {

using namespace std::chrono_literals;

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string text;
    for (int byte : bytes) {
        text += static_cast<char>(byte);
    }
    return text;
}

const std::string kHeader = Bytes({ 'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x03, 0xE8, 'M', 'T', 'r', 'k' });
const std::string kTempo = Bytes({ 0, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40 });
const std::string kEndOfTrack = Bytes({ 0, 0xFF, 0x2F, 0 });

}

TEST(MidiTakeTest, EmptyTakeIsAHeaderAndATrackWithTheTempoAndItsEnd)
{
    EXPECT_EQ(EncodeStandardMidiFile({}), kHeader + Bytes({ 0, 0, 0, 11 }) + kTempo + kEndOfTrack);
}

// Time 0 is the first message; each later one counts whole milliseconds from it, and the
// file holds the bytes as sent: a program change has one data byte, a release velocity 0.
TEST(MidiTakeTest, TimesCountFromTheFirstMessageAndBytesAreWrittenAsSent)
{
    auto now = std::chrono::steady_clock::time_point() + 5s;
    MidiTake take([&now] { return now; });
    take.Record(PackShortMessage(kNoteOnStatus, 60, 127));
    now += 300'900us;
    take.Record(PackShortMessage(kNoteOnStatus, 60, 0));
    now += 16'384ms;
    take.Record(PackShortMessage(kProgramChangeStatus + 15, 41));
    take.Record(PackShortMessage(kNoteOnStatus + 9, 62, 127));
    EXPECT_EQ(take.Messages().back().millisecond, 16'684u);
    // 300 = 0x82 0x2C and 16384 = 0x81 0x80 0x00 as variable-length quantities.
    const std::string events
        = Bytes({ 0, 0x90, 60, 127, 0x82, 0x2C, 0x90, 60, 0, 0x81, 0x80, 0x00, 0xCF, 41, 0, 0x99, 62, 127 });
    EXPECT_EQ(EncodeStandardMidiFile(take.Messages()),
        kHeader + Bytes({ 0, 0, 0, static_cast<int>(kTempo.size() + events.size() + kEndOfTrack.size()) }) + kTempo
            + events + kEndOfTrack);
}
