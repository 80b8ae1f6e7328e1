#include "CoreFixture.h"

namespace {

using AppStateTest = CoreFixture;

TEST_F(AppStateTest, ResetBuildsTheTwoOctaveTable)
{
    const Rect expected[kKeyCount] = { { 0, 0, 51, 300 }, { 30, 0, 60, 160 }, { 50, 0, 101, 300 }, { 90, 0, 120, 160 },
        { 100, 0, 151, 300 }, { 150, 0, 201, 300 }, { 180, 0, 210, 160 }, { 200, 0, 251, 300 }, { 235, 0, 265, 160 },
        { 250, 0, 301, 300 }, { 290, 0, 320, 160 }, { 300, 0, 351, 300 }, { 350, 0, 401, 300 }, { 380, 0, 410, 160 },
        { 400, 0, 451, 300 }, { 440, 0, 470, 160 }, { 450, 0, 501, 300 }, { 500, 0, 551, 300 }, { 530, 0, 560, 160 },
        { 550, 0, 601, 300 }, { 585, 0, 615, 160 }, { 600, 0, 651, 300 }, { 640, 0, 670, 160 }, { 650, 0, 701, 300 } };
    const char letters[] = "AWSEDFRGTHYJKILO";
    for (int i = 0; i < kKeyCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(state.keys[i].rect, expected[i]);
        EXPECT_EQ(state.keys[i].note, 60 + i);
        EXPECT_EQ(state.keys[i].down, 0);
        EXPECT_EQ(state.keys[i].vkey, i < kPolledKeyCount ? letters[i] : 0);
    }
    EXPECT_EQ(state.mode, TransportMode::ModeStop);
    for (const LogEvent& entry : state.log) {
        ASSERT_EQ(entry.key, LOG_END);
    }
}

TEST_F(AppStateTest, ResetKeepsProgramAndNameText)
{
    state.program = 41;
    state.nameText[0] = 'x';
    state.keys[3].down = 1;
    ResetAppState(state);
    EXPECT_EQ(state.program, 41);
    EXPECT_EQ(state.nameText[0], 'x');
    EXPECT_EQ(state.keys[3].down, 0);
}

TEST_F(AppStateTest, SetKeyStateSendsEveryCallAndRepaintsTheKey)
{
    SetKeyState(state, view, 15, 1);
    SetKeyState(state, view, 15, 1);
    SetKeyState(state, view, 15, 0);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(75, 127), NoteOn(75, 127), NoteOn(75, 0) }));
    EXPECT_EQ(state.keys[15].down, 0);
    EXPECT_EQ(view.invalidated, (std::vector<Rect>(3, Rect { 440, 0, 470, 160 })));
}

TEST_F(AppStateTest, SetKeyStateIgnoresIndexOutsideTheKeyboard)
{
    SetKeyState(state, view, kKeyCount, 1);
    SetKeyState(state, view, LOG_END, 1);
    EXPECT_TRUE(sent->empty());
    EXPECT_TRUE(view.invalidated.empty());
}

TEST_F(AppStateTest, ReleaseSoundingKeysSilencesOnlyWhatSounds)
{
    SetKeyState(state, view, 0, 1);
    SetKeyState(state, view, 23, 1);
    sent->clear();
    ReleaseSoundingKeys(state);
    EXPECT_EQ(*sent, (std::vector<std::uint32_t> { NoteOn(60, 0), NoteOn(83, 0) }));
    ReleaseSoundingKeys(state);
    EXPECT_EQ(sent->size(), 2u);
}

}
