#include <gtest/gtest.h>

#include <dlfcn.h>

#include "platform/keys/PressedSinceMemory.h"
#include "platform/keys/X11KeyState.h"
#include "rig/ChildProcess.h"
#include "rig/Xdo.h"
#include "rig/XvfbServer.h"

#include <X11/Xlib.h>
#undef None // Xlib's macro, and the name of one of X11PressEvents

// While set, this program's Xlib connections find no XInput, as on an X server without
// it: Xvfb cannot leave the extension out.
static bool g_hideXInput = false;

extern "C" Bool XQueryExtension(Display* display, const char* name, int* opcode, int* event, int* error)
{
    using Query = Bool (*)(Display*, const char*, int*, int*, int*);
    static const auto query = reinterpret_cast<Query>(dlsym(RTLD_NEXT, "XQueryExtension"));
    return !(g_hideXInput && std::string(name) == "XInputExtension") && query(display, name, opcode, event, error);
}

namespace {

class X11KeyStateTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override { ASSERT_NE(keys, nullptr) << whyNot; }

    // xdotool types through XTest; a pointer query after the keys waits for the server.
    void Type(std::vector<std::string> args)
    {
        args.push_back("getmouselocation");
        ASSERT_TRUE(Xdo(server.DisplayName(), args));
    }

    std::uint16_t ReadOnNextTick(int virtualKey)
    {
        keys->Refresh();
        return keys->GetAsyncKeyState(virtualKey);
    }

    XvfbServer server;
    std::string whyNot;
    std::unique_ptr<X11KeyState> keys
        = X11KeyState::Open(server.DisplayName().c_str(), X11PressEvents::RawXInput2, whyNot);
};

// Another program's window has the focus, or even grabs the keyboard.
TEST_P(X11KeyStateTest, HeldKeyReadsDownAndATapBetweenTwoTicksReadsOnce)
{
    std::unique_ptr<Display, int (*)(Display*)> other(XOpenDisplay(server.DisplayName().c_str()), XCloseDisplay);
    const Window window = XCreateSimpleWindow(other.get(), DefaultRootWindow(other.get()), 0, 0, 50, 50, 0, 0, 0);
    XMapRaised(other.get(), window);
    XSetInputFocus(other.get(), window, RevertToParent, CurrentTime);
    if (GetParam() == "UnderAKeyboardGrab") {
        ASSERT_EQ(XGrabKeyboard(other.get(), window, False, GrabModeAsync, GrabModeAsync, CurrentTime), GrabSuccess);
    }
    XSync(other.get(), False);
    // An idle tick first, after which a tick may skip the snapshot: not when a press came in.
    EXPECT_EQ(ReadOnNextTick('A'), 0);
    Type({ "keydown", "a" });
    EXPECT_EQ(ReadOnNextTick('A'), kKeyDownNowBit | kKeyPressedSinceBit);
    EXPECT_EQ(ReadOnNextTick('A'), kKeyDownNowBit);
    Type({ "keyup", "a", "key", "s" });
    EXPECT_EQ(ReadOnNextTick('A'), 0);
    EXPECT_EQ(keys->GetAsyncKeyState('S'), kKeyPressedSinceBit);
    EXPECT_EQ(ReadOnNextTick('S'), 0);
}

INSTANTIATE_TEST_SUITE_P(Focus, X11KeyStateTest, testing::Values("BehindAnotherWindow", "UnderAKeyboardGrab"),
    [](const auto& info) { return info.param; });

TEST_F(X11KeyStateTest, LettersFollowALayoutChange)
{
    const int keycodeOfZInUs = keys->KeycodeOf('Z');
    ChildProcess setxkbmap("setxkbmap", { "-display", server.DisplayName(), "de" });
    ASSERT_EQ(setxkbmap.WaitForExit(std::chrono::seconds(10)), 0) << setxkbmap.Stderr();
    Type({ "keydown", "y" });
    EXPECT_NE(ReadOnNextTick('Y') & kKeyDownNowBit, 0);
    EXPECT_EQ(keys->KeycodeOf('Y'), keycodeOfZInUs) << "the German layout swaps Y and Z";
}

TEST_F(X11KeyStateTest, WithoutXInputRawEventsSayWhyAndPollingReadsHeldKeys)
{
    g_hideXInput = true;
    EXPECT_EQ(X11KeyState::Open(server.DisplayName().c_str(), X11PressEvents::RawXInput2, whyNot), nullptr);
    EXPECT_NE(whyNot.find("XInput"), std::string::npos) << whyNot;
    keys = X11KeyState::Open(server.DisplayName().c_str(), X11PressEvents::None, whyNot);
    g_hideXInput = false;
    ASSERT_NE(keys, nullptr);
    Type({ "keydown", "a" });
    EXPECT_EQ(ReadOnNextTick('A'), kKeyDownNowBit);
    Type({ "keyup", "a" });
    EXPECT_EQ(ReadOnNextTick('A'), 0);
}

}
