#include <gtest/gtest.h>

#include "midi/MidiTake.h"
#include "midi/ShortMessage.h"

using namespace std::literals;

// Format 0, one track, 1000 ticks per quarter note; then the track's tempo and its end.
static const std::string kHeader = "MThd\0\0\0\6\0\0\0\1\x03\xE8MTrk"s, kTempo = "\0\xFF\x51\3\x0F\x42\x40"s,
                         kEndOfTrack = "\0\xFF\x2F\0"s;

TEST(MidiTakeTest, EmptyTakeIsAHeaderAndATrackWithTheTempoAndItsEnd)
{
    EXPECT_EQ(EncodeStandardMidiFile({}), kHeader + "\0\0\0\x0B"s + kTempo + kEndOfTrack);
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
    // 300 = 82 2C and 16384 = 81 80 00 as variable-length quantities.
    const std::string events = "\0\x90\x3C\x7F\x82\x2C\x90\x3C\0\x81\x80\0\xCF\x29\0\x99\x3E\x7F"s;
    const char length = static_cast<char>(kTempo.size() + events.size() + kEndOfTrack.size());
    EXPECT_EQ(EncodeStandardMidiFile(take.Messages()), kHeader + "\0\0\0"s + length + kTempo + events + kEndOfTrack);
}
