#include "support/FreshInstrument.h"

using RecorderTest = FreshInstrument;

TEST_F(RecorderTest, RecordsOnlyWhileRecordingAtMost1023EntriesAndRecAndStartUpStartAfresh)
{
    OnRec(state), state.recFrame = 7;
    RecordKeyChange(state, 2, 1);
    OnStop(state);
    RecordKeyChange(state, 2, 0);
    EXPECT_EQ(std::tuple(state.logFrame, state.log[0].frame, state.log[1].key), std::tuple(1, 7, LOG_END));
    OnRec(state);
    EXPECT_EQ(std::tuple(state.logFrame, state.recFrame, state.log[0].key), std::tuple(0, 0, LOG_END));
    for (int i = 0; i < kLogCapacity; ++i) {
        RecordKeyChange(state, 1, 1);
    }
    EXPECT_EQ(std::tuple(state.mode, state.logFrame, state.log[1023].key), std::tuple(ModeStop, 1023, LOG_END));
    state.mode = ModePlay, state.program = 41;
    ResetAppState(state);
    EXPECT_EQ(std::tuple(state.mode, state.log[0].key, state.program), std::tuple(ModeStop, LOG_END, 41));
    EXPECT_TRUE(sent->empty() && view.invalidated.empty()) << "commands neither sound nor repaint";
}

TEST_F(RecorderTest, PlaybackReplaysOneEntryPerTickAtItsFrameWithoutReadingTheLetters)
{
    SkipFlush();
    OnRec(state);
    keyboard.Press('A'), keyboard.Press('S');
    Tick(3);
    keyboard.Release('A'), keyboard.Release('S');
    Tick();
    OnPlay(state), sent->clear();
    Tick();
    EXPECT_EQ(sent->size(), 1u) << "two entries of one frame take a tick each";
    Tick(2);
    EXPECT_EQ(sent->size(), 2u) << "the releases wait for their frame";
    Tick(3);
    EXPECT_EQ(*sent, (Messages { NoteOn(60, 127), NoteOn(62, 127), NoteOn(60, 0), NoteOn(62, 0) }));
    EXPECT_EQ(std::tuple(state.mode, view.messages.at(0)), std::tuple(ModeStop, "PLAY END!"));
}

// Key 3 is polled, key 23 is not: only playback presses it, and only shutdown releases it.
TEST_F(RecorderTest, PlaybackSkipsForeignKeysResendsPressesAndLeavesItsNotesToThePollAndShutdown)
{
    SkipFlush();
    state.log[0] = { 200, 1, 0 };
    state.log[1] = state.log[2] = { 3, 1, 0 };
    state.log[3] = { 23, 1, 0 };
    OnPlay(state);
    Tick(4);
    OnStop(state);
    EXPECT_EQ(state.keys[3].down, 1) << "STOP releases nothing";
    Tick();
    ReleaseSoundingKeys(state), ReleaseSoundingKeys(state);
    EXPECT_EQ(*sent, (Messages { NoteOn(63, 127), NoteOn(63, 127), NoteOn(83, 127), NoteOn(63, 0), NoteOn(83, 0) }));
}
