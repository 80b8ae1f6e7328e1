#include "CoreFixture.h"

#include "core/Transport.h"

namespace {

using TransportTest = CoreFixture;

TEST_F(TransportTest, RecordingStopsItselfAfter1023Entries)
{
    OnRec(state);
    for (int i = 0; i < kLogCapacity; ++i) {
        ASSERT_EQ(state.mode, TransportMode::ModeRec);
        RecordKeyChange(state, static_cast<std::uint8_t>(i % kPolledKeyCount), i % 2);
    }
    EXPECT_EQ(state.logFrame, 1023);
    EXPECT_EQ(state.mode, TransportMode::ModeStop);
    EXPECT_EQ(state.log[1022].key, 1022 % kPolledKeyCount);
    EXPECT_EQ(state.log[1023].key, LOG_END);
    RecordKeyChange(state, 0, 1);
    EXPECT_EQ(state.logFrame, 1023);
}

TEST_F(TransportTest, RecordsOnlyWhileRecording)
{
    RecordKeyChange(state, 2, 1);
    OnRec(state);
    state.recFrame = 7;
    RecordKeyChange(state, 2, 1);
    OnStop(state);
    RecordKeyChange(state, 2, 0);
    EXPECT_EQ(state.logFrame, 1);
    EXPECT_EQ(state.log[0].key, 2);
    EXPECT_EQ(state.log[0].on, 1);
    EXPECT_EQ(state.log[0].frame, 7);
    EXPECT_EQ(state.log[1].key, LOG_END);
}

TEST_F(TransportTest, CommandsSwitchModeAndResetCountersAsEachShould)
{
    OnRec(state);
    RecordKeyChange(state, 4, 1);
    state.recFrame = 30;
    OnStop(state);
    EXPECT_EQ(state.mode, TransportMode::ModeStop);
    EXPECT_EQ(state.logFrame, 1);
    EXPECT_EQ(state.recFrame, 30);

    OnPlay(state);
    EXPECT_EQ(state.mode, TransportMode::ModePlay);
    EXPECT_EQ(state.logFrame, 0);
    EXPECT_EQ(state.recFrame, 0);
    EXPECT_EQ(state.log[0].key, 4); // PLAY keeps the recording

    OnRec(state);
    EXPECT_EQ(state.mode, TransportMode::ModeRec);
    EXPECT_EQ(state.log[0].key, LOG_END);
    EXPECT_TRUE(sent->empty());
    EXPECT_TRUE(view.invalidated.empty());
}

}
