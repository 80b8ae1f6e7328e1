#include "support/FreshInstrument.h"

using TickProcedureTest = FreshInstrument;

TEST_F(TickProcedureTest, AfterNineTicksThatForgetEarlierPressesTheSpaceBarDrawsAnInstrumentOncePerPress)
{
    keyboard.Tap('S'), keyboard.Press('A');
    SkipFlush();
    EXPECT_EQ(std::tuple(sent->size(), keyboard.queries.size(), keyboard.refreshes), std::tuple(0u, 9u * 127, 9));
    keyboard.Press(kVkSpace);
    Tick(3);
    keyboard.Release(kVkSpace);
    Tick();
    keyboard.Tap(kVkSpace);
    Tick();
    EXPECT_EQ(*sent, (Messages { NoteOn(60, 127), ProgramChange(41), ProgramChange(52) })) << "A keeps sounding";
    EXPECT_EQ(std::tuple(keyboard.refreshes, view.wholeViewRepaints), std::tuple(14, 2)) << "a fresh look per poll";
}

// Long after start-up: the tick count and the recording frame stay at their largest value.
TEST_F(TickProcedureTest, EveryLetterPlaysAndRecordsItsKeyAndATapBetweenTwoPollsSoundsForOneTick)
{
    g_tickCount = INT32_MAX;
    OnRec(state);
    state.recFrame = INT32_MAX;
    const std::string letters = "AWSEDFRGTHYJKILO";
    for (std::uint8_t key = 0; key < letters.size(); ++key) {
        sent->clear();
        view.invalidated.clear();
        keyboard.Tap(letters[key]);
        Tick(2);
        EXPECT_EQ(*sent, (Messages { NoteOn(60 + key, 127), NoteOn(60 + key, 0) })) << letters[key];
        const Rect& rect = state.keys[key].rect;
        EXPECT_EQ(view.invalidated, (std::vector<Rect> { kCounterArea, rect, kCounterArea, rect })) << letters[key];
    }
    EXPECT_EQ(std::tuple(g_tickCount, state.log[31].key, state.log[31].frame), std::tuple(INT32_MAX, 15, INT32_MAX));
}
