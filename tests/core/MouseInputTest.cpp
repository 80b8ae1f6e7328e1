#include "CoreFixture.h"

#include "core/MouseInput.h"

namespace {

using MouseInputTest = CoreFixture;

TEST_F(MouseInputTest, HitTestPrefersBlackKeysThenLowerWhiteKeys)
{
    struct Case {
        int x, y, key;
    };
    const Case cases[] = {
        { 50, 200, 0 }, // the column keys 0 and 2 share goes to key 0
        { 35, 100, 1 }, // upper part of key 1, also inside keys 0 and 2
        { 35, 200, 0 }, // below the black key
        { 350, 0, 11 }, // the octave seam belongs to key 11
        { 351, 0, -1 }, // the upper octave is out of the mouse's reach
        { 10, 300, -1 }, // below the keys
        { -1, 10, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        ResetAppState(state);
        EXPECT_EQ(MousePress(state, view, random, c.x, c.y), c.key);
    }
}

TEST_F(MouseInputTest, EveryPressPicksAnInstrumentAndAKeyPressSoundsIt)
{
    EXPECT_EQ(MousePress(state, view, random, 600, 100), -1);
    EXPECT_EQ(MousePress(state, view, random, 35, 100), 1);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { ProgramChange(41), ProgramChange(52), NoteOn(61, 127) }));
    EXPECT_EQ(view.wholeViewRepaints, 2);
    EXPECT_EQ(view.invalidated, (std::vector<Rect> { state.keys[1].rect }));
    EXPECT_EQ(state.keys[1].down, 1);
    EXPECT_EQ(state.logFrame, 0);
}

TEST_F(MouseInputTest, ReleaseLetsGoOfEveryLowerOctaveKeyOnly)
{
    state.keys[0].down = 1; // held by the mouse
    state.keys[11].down = 1; // held by a letter
    state.keys[14].down = 1; // upper octave, out of the mouse's reach
    MouseRelease(state, view);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(60, 0), NoteOn(71, 0) }));
    EXPECT_EQ(state.keys[0].down, 0);
    EXPECT_EQ(state.keys[11].down, 0);
    EXPECT_EQ(state.keys[14].down, 1);
}

}
