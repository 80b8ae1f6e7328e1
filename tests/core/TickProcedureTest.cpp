#include "CoreFixture.h"

#include <algorithm>

#include "core/Transport.h"
#include "timer/TickTimer.h"

namespace {

using TickProcedureTest = CoreFixture;

constexpr int kA = 'A';
constexpr int kW = 'W';
constexpr int kS = 'S';

TEST_F(TickProcedureTest, FirstNineTicksOnlyFlushThenAHeldKeySoundsOnce)
{
    keyboard.Press(kA);
    keyboard.Tap(kS);
    keyboard.Tap(kVkSpace);
    SkipFlush();
    EXPECT_TRUE(sent->empty());
    EXPECT_EQ(keyboard.queries.size(), 9u * kVkFlushEnd);
    EXPECT_EQ(keyboard.queries.front(), 0);
    EXPECT_EQ(keyboard.queries.back(), kVkFlushEnd - 1);

    TickTimes(3);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(60, 127) }));
}

TEST_F(TickProcedureTest, PollReadsSixteenLettersThenTheSpaceBar)
{
    SkipFlush();
    keyboard.queries.clear();
    const int refreshesBefore = keyboard.refreshes;
    Tick();
    const std::vector<int> expected
        = { 'A', 'W', 'S', 'E', 'D', 'F', 'R', 'G', 'T', 'H', 'Y', 'J', 'K', 'I', 'L', 'O', kVkSpace };
    EXPECT_EQ(keyboard.queries, expected);
    EXPECT_EQ(keyboard.refreshes, refreshesBefore + 1);
}

TEST_F(TickProcedureTest, TapBetweenTwoPollsSoundsForOneTick)
{
    SkipFlush();
    keyboard.Tap(kW);
    Tick();
    EXPECT_EQ(state.keys[1].down, 1);
    Tick();
    EXPECT_EQ(state.keys[1].down, 0);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(61, 127), NoteOn(61, 0) }));
    EXPECT_EQ(view.invalidated, (std::vector<Rect>(2, state.keys[1].rect)));
}

TEST_F(TickProcedureTest, SpaceBarChangesInstrumentOncePerPressInTheFixedSequence)
{
    SkipFlush();
    keyboard.Press(kVkSpace);
    TickTimes(5);
    EXPECT_EQ(state.program, 41);
    keyboard.Release(kVkSpace);
    Tick();
    keyboard.Tap(kVkSpace);
    Tick();
    EXPECT_EQ(state.program, 52);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { ProgramChange(41), ProgramChange(52) }));
    EXPECT_EQ(view.wholeViewRepaints, 2);
    EXPECT_EQ(g_spaceLatch, 1);
}

TEST_F(TickProcedureTest, InstrumentChangeLeavesSoundingKeysAlone)
{
    SkipFlush();
    keyboard.Press(kA);
    Tick();
    keyboard.Press(kVkSpace);
    Tick();
    EXPECT_EQ(state.keys[0].down, 1);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(60, 127), ProgramChange(41) }));
}

TEST_F(TickProcedureTest, MouseHeldKeyIsReleasedAndRecordedByTheNextPoll)
{
    SkipFlush();
    OnRec(state);
    state.keys[2].down = 1;
    Tick();
    EXPECT_EQ(state.keys[2].down, 0);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(62, 0) }));
    EXPECT_EQ(state.log[0].key, 2);
    EXPECT_EQ(state.log[0].on, 0);
    EXPECT_EQ(state.log[0].frame, 1);
}

TEST_F(TickProcedureTest, RecordingStampsChangesAndPlaybackReplaysOneEntryPerTick)
{
    SkipFlush();
    OnRec(state);
    keyboard.Press(kA);
    keyboard.Press(kS);
    Tick(); // frame 1: two presses share a frame
    Tick();
    keyboard.Release(kA);
    Tick(); // frame 3
    keyboard.Release(kS);
    Tick(); // frame 4
    ASSERT_EQ(state.logFrame, 4);
    EXPECT_EQ(state.log[0].frame, 1);
    EXPECT_EQ(state.log[1].frame, 1);
    EXPECT_EQ(state.log[2].frame, 3);
    EXPECT_EQ(state.log[3].frame, 4);
    EXPECT_EQ(view.invalidated.front(), kCounterArea);

    OnStop(state);
    sent->clear();
    keyboard.queries.clear();
    OnPlay(state);
    std::vector<std::vector<std::uint32_t>> perTick;
    for (int tick = 1; tick <= 4; ++tick) {
        sent->clear();
        Tick();
        perTick.push_back(*sent);
    }
    EXPECT_EQ(perTick,
        (std::vector<std::vector<std::uint32_t>> {
            { NoteOn(60, 127) }, { NoteOn(62, 127) }, { NoteOn(60, 0) }, { NoteOn(62, 0) } }));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(keyboard.queries.empty()) << "letters are not read during playback";

    Tick();
    EXPECT_EQ(view.messages, (std::vector<std::string> { "PLAY END!" }));
    EXPECT_EQ(state.mode, TransportMode::ModeStop);
}

TEST_F(TickProcedureTest, PlayWithEmptyLogEndsOnItsFirstTick)
{
    SkipFlush();
    OnRec(state);
    OnStop(state);
    OnPlay(state);
    Tick();
    EXPECT_EQ(view.messages, (std::vector<std::string> { "PLAY END!" }));
    EXPECT_EQ(state.mode, TransportMode::ModeStop);
    EXPECT_EQ(state.recFrame, 1);
    EXPECT_TRUE(sent->empty());
}

TEST_F(TickProcedureTest, NextPollAfterStopReleasesKeysPlaybackLeftDown)
{
    SkipFlush();
    state.log[0] = { 5, 1, 1 };
    OnPlay(state);
    Tick();
    ASSERT_EQ(state.keys[5].down, 1);
    OnStop(state);
    EXPECT_EQ(state.keys[5].down, 1) << "STOP itself releases nothing";
    Tick();
    EXPECT_EQ(state.keys[5].down, 0);
    EXPECT_EQ(sent->back(), NoteOn(65, 0));
}

TEST_F(TickProcedureTest, PlaybackIgnoresEntriesOutsideTheKeyboard)
{
    state.log[0] = { 200, 1, 0 };
    state.log[1] = { 3, 1, 0 };
    OnPlay(state);
    TickTimes(2);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(63, 127) }));
    EXPECT_EQ(state.logFrame, 2);
}

TEST_F(TickProcedureTest, ClearsThePendingFlagOnEveryPath)
{
    auto tickWithFlagSet = [this] {
        SetTickPending(1);
        Tick();
        return g_tickPending.load();
    };
    EXPECT_EQ(tickWithFlagSet(), 0) << "flush";
    SkipFlush();
    EXPECT_EQ(tickWithFlagSet(), 0) << "poll";
    OnRec(state);
    EXPECT_EQ(tickWithFlagSet(), 0) << "recording";
    OnPlay(state);
    EXPECT_EQ(tickWithFlagSet(), 0) << "end of playback";
}

TEST_F(TickProcedureTest, CountersStopAtTheLargest32BitValue)
{
    g_tickCount = INT32_MAX;
    OnRec(state);
    state.recFrame = INT32_MAX;
    Tick();
    EXPECT_EQ(g_tickCount, INT32_MAX);
    EXPECT_EQ(state.recFrame, INT32_MAX);
    keyboard.Press(kA);
    Tick();
    EXPECT_EQ(state.log[0].frame, INT32_MAX);
    EXPECT_EQ(state.keys[0].down, 1);
}

}
