#include "support/FreshInstrument.h"

using MousePlayTest = FreshInstrument;

TEST_F(MousePlayTest, EveryClickDrawsAnInstrumentAndPlaysTheKeyOnTopUnrecordedTillRelease)
{
    OnRec(state);
    state.keys[11].down = state.keys[14].down = 1;
    EXPECT_EQ(MousePress(state, view, random, 600, 100), -1);
    EXPECT_EQ(MousePress(state, view, random, 35, 100), 1);
    MouseRelease(state, view);
    const Messages expected { ProgramChange(41), ProgramChange(52), NoteOn(61, 127), NoteOn(61, 0), NoteOn(71, 0) };
    EXPECT_EQ(*sent, expected) << "key 14 is out of the mouse's reach";
    EXPECT_EQ(view.invalidated, (std::vector<Rect> { state.keys[1].rect, state.keys[1].rect, state.keys[11].rect }));
    EXPECT_EQ(std::tuple(view.wholeViewRepaints, state.log[0].key), std::tuple(2, LOG_END));
    // A black key's lowest row and the row below, a shared column, the octave seam, out of reach.
    const std::tuple<int, int, int> clicks[] = { { 35, 159, 1 }, { 35, 160, 0 }, { 50, 200, 0 }, { 350, 0, 11 },
        { 351, 0, -1 }, { 10, 300, -1 }, { -1, 10, -1 } };
    for (const auto& [x, y, key] : clicks) {
        ResetAppState(state);
        EXPECT_EQ(MousePress(state, view, random, x, y), key) << x << "," << y;
    }
}
