#include <gtest/gtest.h>

#include "midi/MidiOutPort.h"
#include "support/RecordingMidiDevice.h"

namespace {

class MidiOutPortTest : public testing::Test {
protected:
    std::shared_ptr<std::vector<std::uint32_t>> sent = std::make_shared<std::vector<std::uint32_t>>();
    MidiOutPort port { std::make_unique<RecordingMidiDevice>(sent) };
};

TEST_F(MidiOutPortTest, PacksNoteOnAndProgramChangeInCallOrder)
{
    EXPECT_TRUE(port.NoteOn(60, 127, 0));
    EXPECT_TRUE(port.NoteOn(60, 0, 0));
    EXPECT_TRUE(port.ProgramChange(0, 41));
    EXPECT_TRUE(port.NoteOn(127, 127, 15));
    EXPECT_TRUE(port.ProgramChange(15, 127));
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { 0x7F3C90, 0x3C90, 0x29C0, 0x7F7F9F, 0x7FCF }));
}

TEST_F(MidiOutPortTest, RefusesOutOfRangeArgumentsAndSendsNothing)
{
    EXPECT_FALSE(port.NoteOn(128, 10, 0));
    EXPECT_FALSE(port.NoteOn(60, 10, 16));
    EXPECT_FALSE(port.NoteOn(60, 128, 0));
    EXPECT_FALSE(port.ProgramChange(16, 0));
    EXPECT_FALSE(port.ProgramChange(0, 128));
    EXPECT_TRUE(sent->empty());
}

TEST(MidiOutPortWithoutDeviceTest, DropsMessagesButStillAcceptsThem)
{
    MidiOutPort port(nullptr);
    EXPECT_TRUE(port.NoteOn(60, 127, 0));
    EXPECT_TRUE(port.ProgramChange(0, 1));
}

}
