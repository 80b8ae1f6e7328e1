#include <gtest/gtest.h>

#include "midi/MidiOutPort.h"
#include "support/FreshInstrument.h"

TEST(MidiOutPortTest, PacksStatusThenDataBytesUpwardsAndRefusesWhatMidiCannotCarry)
{
    const auto sent = std::make_shared<std::vector<std::uint32_t>>();
    MidiOutPort port(std::make_unique<RecordingMidiDevice>(sent));
    EXPECT_TRUE(port.NoteOn(60, 127, 0) && port.ProgramChange(0, 41) && port.NoteOn(127, 127, 15)
        && port.ProgramChange(15, 127));
    EXPECT_FALSE(port.NoteOn(128, 1, 0) || port.NoteOn(60, 128, 0) || port.NoteOn(60, 1, 16)
        || port.ProgramChange(16, 0) || port.ProgramChange(0, 128));
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { 0x7F3C90, 0x29C0, 0x7F7F9F, 0x7FCF }));
    EXPECT_TRUE(MidiOutPort(nullptr).NoteOn(60, 127, 0)) << "without a device messages are dropped, not refused";
}
