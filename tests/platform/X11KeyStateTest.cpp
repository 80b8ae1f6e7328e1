#include <gtest/gtest.h>

#include "platform/keys/PressedSinceMemory.h"
#include "platform/keys/X11KeyState.h"
#include "platform/keys/X11LockKeys.h"
#include "rig/ChildProcess.h"
#include "rig/XvfbServer.h"

#include <X11/Xlib.h>

using Reads = std::vector<std::uint16_t>;

class X11KeyStateTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(keys, nullptr) << whyNot; }

    // xdotool types through XTest; a pointer query after the keys waits for the server.
    void Type(std::vector<std::string> args)
    {
        args.push_back("getmouselocation");
        ASSERT_TRUE(Xdo(server.DisplayName(), args));
    }

    std::uint16_t ReadOnNextTick(int virtualKey) { return keys->Refresh(), keys->GetAsyncKeyState(virtualKey); }

    XvfbServer server;
    std::string whyNot;
    X11Display connection = OpenX11Display(server.DisplayName().c_str());
    std::unique_ptr<X11KeyState> keys = X11KeyState::Open(connection, X11PressEvents::RawXInput2, whyNot);
};

// Another program's window has the focus and even grabs the keyboard.
TEST_F(X11KeyStateTest, HeldKeyReadsDownAndATapBetweenTwoTicksReadsOnce)
{
    std::unique_ptr<Display, int (*)(Display*)> other(XOpenDisplay(server.DisplayName().c_str()), XCloseDisplay);
    const Window window = XCreateSimpleWindow(other.get(), DefaultRootWindow(other.get()), 0, 0, 50, 50, 0, 0, 0);
    XMapRaised(other.get(), window);
    XSetInputFocus(other.get(), window, RevertToParent, CurrentTime);
    ASSERT_EQ(XGrabKeyboard(other.get(), window, False, GrabModeAsync, GrabModeAsync, CurrentTime), GrabSuccess);
    XSync(other.get(), False);
    // An idle tick first, after which a tick may skip the snapshot: not when a press came in.
    EXPECT_TRUE(ReadOnNextTick('A') == 0 && keys->KeysAtRest());
    Type({ "keydown", "a" });
    EXPECT_FALSE(keys->KeysAtRest()) << "a press waits in the connection";
    // Braces read in order, a tick at a time.
    EXPECT_EQ((Reads { ReadOnNextTick('A'), ReadOnNextTick('A') }),
        (Reads { kKeyDownNowBit | kKeyPressedSinceBit, kKeyDownNowBit }));
    Type({ "keyup", "a", "key", "s" });
    EXPECT_EQ((Reads { ReadOnNextTick('A'), keys->GetAsyncKeyState('S'), ReadOnNextTick('S') }),
        (Reads { 0, kKeyPressedSinceBit, 0 }));
}

// Read on the key reader's connection, whose next look tells of the change.
TEST_F(X11KeyStateTest, EachLockKeyLightsItsOwnIndicatorAndTheNextLookSaysSo)
{
    X11LockKeySource locks(*keys);
    int changes = 0;
    locks.WatchChanges([&changes] { ++changes; });
    // Xvfb's keymap drives no Scroll Lock indicator from the key.
    for (const auto& [key, lit] :
        { std::pair("Caps_Lock", LockKeys { false, true }), { "Num_Lock", { false, false, true } } }) {
        SCOPED_TRACE(key);
        EXPECT_EQ(locks.ReadLockKeys(), LockKeys {});
        changes = 0;
        Type({ "key", key });
        keys->Refresh();
        EXPECT_EQ(std::tuple(changes, locks.ReadLockKeys()), std::tuple(1, lit));
        Type({ "key", key });
    }
}

// The German layout swaps Y and Z; one without Latin letters keeps them where a US layout has them.
TEST_F(X11KeyStateTest, LettersFollowALayoutChange)
{
    const int keycodeOfZInUs = keys->KeycodeOf('Z'), keycodeOfAInUs = keys->KeycodeOf('A');
    const auto useLayout = [this](const char* layout) {
        ASSERT_TRUE(ToolOutput("setxkbmap", { "-display", server.DisplayName(), layout }));
    };
    useLayout("de");
    Type({ "keydown", "y" });
    EXPECT_NE(ReadOnNextTick('Y') & kKeyDownNowBit, 0);
    EXPECT_EQ(keys->KeycodeOf('Y'), keycodeOfZInUs);
    useLayout("ru");
    ReadOnNextTick('A');
    EXPECT_EQ(keys->KeycodeOf('A'), keycodeOfAInUs);
}
