#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "midi/MidiOutPort.h"
#include "soak/InvariantMonitor.h"

namespace {

// The soak is only as good as its monitor: each planted fault must be reported.
class InvariantMonitorTest : public testing::Test {
protected:
    InvariantMonitorTest() { ResetAppState(state); }

    std::string Take(std::vector<std::uint32_t> messages) { return monitor.TakeMessages(messages); }

    InvariantMonitor monitor;
    AppState state { nullptr };
};

TEST_F(InvariantMonitorTest, RefusesMessagesTheInstrumentNeverSends)
{
    EXPECT_EQ(Take({ PackShortMessage(0x90, 60, 127), PackShortMessage(0xC0, 126) }), "");
    EXPECT_NE(Take({ PackShortMessage(0x80, 60, 0) }), "") << "note-off";
    EXPECT_NE(Take({ PackShortMessage(0x91, 60, 127) }), "") << "channel 1";
    EXPECT_NE(Take({ PackShortMessage(0x90, 60, 64) }), "") << "velocity 64";
    EXPECT_NE(Take({ PackShortMessage(0x90, 84, 127) }), "") << "note above the keyboard";
    EXPECT_NE(Take({ PackShortMessage(0xC0, 127) }), "") << "program 127";
    EXPECT_NE(Take({ PackShortMessage(0xB0, 7, 100) }), "") << "control change";
    EXPECT_NE(Take({ PackShortMessage(0x90, 60, 127) | 0x01000000 }), "") << "bits above the data";
}

TEST_F(InvariantMonitorTest, DownFlagsMustFollowTheLastMessageOfTheirNote)
{
    EXPECT_EQ(monitor.CheckState(state), "");
    state.keys[3].down = 1;
    EXPECT_NE(monitor.CheckState(state), "") << "down without a note-on";
    ASSERT_EQ(Take({ PackShortMessage(0x90, 63, 127) }), "");
    EXPECT_EQ(monitor.CheckState(state), "");
    EXPECT_NE(monitor.CheckSilence(state), "");
    ASSERT_EQ(Take({ PackShortMessage(0x90, 63, 0) }), "");
    EXPECT_NE(monitor.CheckState(state), "") << "still down after its release was sent";
    state.keys[3].down = 0;
    EXPECT_EQ(monitor.CheckSilence(state), "");
    state.keys[5].down = 2;
    EXPECT_NE(monitor.CheckState(state), "") << "a flag other than 0 or 1";
}

TEST_F(InvariantMonitorTest, LogMustKeepItsBoundsAndLastEndMarker)
{
    state.logFrame = kLogCapacity;
    EXPECT_EQ(monitor.CheckState(state), "");
    state.logFrame = kLogSize;
    EXPECT_NE(monitor.CheckState(state), "");
    state.logFrame = -1;
    EXPECT_NE(monitor.CheckState(state), "");
    state.logFrame = 0;
    state.log[kLogCapacity].key = 0;
    EXPECT_NE(monitor.CheckState(state), "");
}

}
