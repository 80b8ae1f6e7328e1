#include "CoreFixture.h"

#include "core/MouseInput.h"
#include "core/Transport.h"

namespace {

using TicksMayRestTest = CoreFixture;

TEST_F(TicksMayRestTest, OnlyAfterTheFlushWithNothingSoundingOrHeld)
{
    TickTimes(kFirstPollingTick - 2);
    EXPECT_FALSE(TicksMayRest(state));
    Tick();
    EXPECT_TRUE(TicksMayRest(state));

    keyboard.Press('A');
    Tick();
    EXPECT_FALSE(TicksMayRest(state));
    keyboard.Release('A');
    Tick();
    EXPECT_TRUE(TicksMayRest(state));

    keyboard.Press(kVkSpace);
    Tick();
    EXPECT_FALSE(TicksMayRest(state)) << "the bar's release must still be seen";
    keyboard.Release(kVkSpace);
    Tick();
    EXPECT_TRUE(TicksMayRest(state));

    MousePress(state, view, random, state.keys[11].rect.left + 1, state.keys[11].rect.bottom - 2);
    EXPECT_FALSE(TicksMayRest(state)) << "the next poll releases the key the mouse pressed";
}

TEST_F(TicksMayRestTest, NeverWhileRecordingOrPlaying)
{
    SkipFlush();
    OnRec(state);
    EXPECT_FALSE(TicksMayRest(state));
    OnStop(state);
    OnPlay(state);
    EXPECT_FALSE(TicksMayRest(state));
    OnStop(state);
    EXPECT_TRUE(TicksMayRest(state));
}

}
