#include <cstdlib>
#include <sstream>

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "TestXClients.h"
#include "XvfbServer.h"
#include "platform/keys/KeyboardReaders.h"
#include "platform/keys/X11KeyState.h"
#include "platform/keys/X11LockKeys.h"

// Every test starts an X server of its own, so tests that type never share a keyboard.
namespace {

class X11KeyStateTest : public ::testing::Test {
protected:
    std::unique_ptr<X11KeyState> Open(X11PressEvents events)
    {
        std::string whyNot;
        auto opened = X11KeyState::Open(server.DisplayName().c_str(), events, whyNot);
        EXPECT_NE(opened, nullptr) << whyNot;
        return opened;
    }

    // What one tick's poll reads for the key.
    std::uint16_t ReadOnNextTick(int virtualKey)
    {
        keys->Refresh();
        return keys->GetAsyncKeyState(virtualKey);
    }

    // A held A reads down until released; a tap of S between two ticks reads down once.
    void ExpectHeldAndTappedKeysRead()
    {
        typist.Press(keycodeA);
        EXPECT_NE(ReadOnNextTick('A'), 0);
        EXPECT_NE(ReadOnNextTick('A'), 0);
        typist.Release(keycodeA);
        EXPECT_EQ(ReadOnNextTick('A'), 0);
        typist.Tap(keycodeS);
        EXPECT_NE(ReadOnNextTick('S'), 0);
        EXPECT_EQ(ReadOnNextTick('S'), 0);
    }

    void SetLayout(const char* layout)
    {
        const std::string command = "setxkbmap -display " + server.DisplayName() + " " + layout;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    XvfbServer server;
    XTestTypist typist { server.DisplayName() };
    std::unique_ptr<X11KeyState> keys = Open(X11PressEvents::RawXInput2);
    int keycodeA = typist.KeycodeOf(kKeysymA);
    int keycodeS = typist.KeycodeOf(kKeysymS);
};

TEST_F(X11KeyStateTest, HeldKeyReadsDownOnEveryQueryAndUpAfterRelease)
{
    typist.Press(keycodeA);
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_NE(ReadOnNextTick('A'), 0) << "tick " << tick;
        EXPECT_NE(keys->GetAsyncKeyState('A'), 0) << "second query on tick " << tick;
    }
    typist.Release(keycodeA);
    EXPECT_EQ(ReadOnNextTick('A'), 0);
}

TEST_F(X11KeyStateTest, TapBetweenTwoTicksReadsDownOnceThenUp)
{
    EXPECT_EQ(ReadOnNextTick('A'), 0);
    typist.Tap(keycodeA);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_EQ(keys->GetAsyncKeyState('A'), 0);
    EXPECT_EQ(ReadOnNextTick('A'), 0);
}

TEST_F(X11KeyStateTest, TapsAccumulatedOverTicksWithoutAQueryAreReadOnce)
{
    // During playback the tick refreshes without querying the letters.
    typist.Tap(keycodeA);
    keys->Refresh();
    typist.Tap(keycodeA);
    keys->Refresh();
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_EQ(ReadOnNextTick('A'), 0);
}

TEST_F(X11KeyStateTest, QueryingOneKeyKeepsAnotherKeysPressMemory)
{
    typist.Tap(keycodeA);
    typist.Tap(keycodeS);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_EQ(keys->GetAsyncKeyState('A'), 0);
    EXPECT_NE(keys->GetAsyncKeyState('S'), 0);
}

TEST_F(X11KeyStateTest, FlushOfEveryCodeForgetsTapsButNotHeldKeys)
{
    typist.Tap(keycodeA);
    typist.Press(keycodeS);
    keys->Refresh();
    for (int virtualKey = 0; virtualKey < kVkFlushEnd; ++virtualKey) {
        keys->GetAsyncKeyState(virtualKey);
    }
    EXPECT_EQ(ReadOnNextTick('A'), 0);
    EXPECT_NE(keys->GetAsyncKeyState('S'), 0);
}

TEST_F(X11KeyStateTest, SpaceAndKeypadOneAreReadButOtherCodesAlwaysReadZero)
{
    typist.Press(keycodeA);
    keys->Refresh();
    // 0x61 is lower-case 'a' in ASCII but the keypad's 1 as a virtual key.
    EXPECT_EQ(keys->GetAsyncKeyState(kVkNumpad1), 0);
    for (int code : { -1, 0, 0x30, 0x31, 0x7e, 255, 256, 100000 }) {
        EXPECT_EQ(keys->GetAsyncKeyState(code), 0) << "code " << code;
    }
    typist.Press(typist.KeycodeOf(kKeysymSpace));
    typist.Press(typist.KeycodeOf(kKeysymKpEnd));
    keys->Refresh();
    EXPECT_NE(keys->GetAsyncKeyState(kVkSpace), 0);
    EXPECT_NE(keys->GetAsyncKeyState(kVkNumpad1), 0);
}

TEST_F(X11KeyStateTest, KeysAreReadWhileAnotherProgramHasTheFocus)
{
    OtherProgramWindow other(server.DisplayName());
    other.TakeFocus();
    ExpectHeldAndTappedKeysRead();
}

TEST_F(X11KeyStateTest, KeysAreReadWhileAnotherProgramGrabsTheKeyboard)
{
    OtherProgramWindow other(server.DisplayName());
    other.TakeFocus();
    ASSERT_TRUE(other.GrabKeyboard());
    ExpectHeldAndTappedKeysRead();
}

TEST_F(X11KeyStateTest, LettersFollowALayoutChange)
{
    const int keycodeZInUs = typist.KeycodeOf(kKeysymZ);
    SetLayout("de");
    // A fresh client learns the new layout from scratch, independently of the code under test.
    XTestTypist germanTypist(server.DisplayName());
    const int keycodeYInDe = germanTypist.KeycodeOf(kKeysymY);
    ASSERT_EQ(keycodeYInDe, keycodeZInUs) << "the German layout puts Y where the US layout has Z";
    germanTypist.Press(keycodeYInDe);
    EXPECT_NE(ReadOnNextTick('Y'), 0);
    EXPECT_EQ(keys->GetAsyncKeyState('Z'), 0);
    EXPECT_EQ(keys->KeycodeOf('Y'), keycodeYInDe);
}

TEST_F(X11KeyStateTest, LettersALayoutLacksStayWhereAUsLayoutHasThem)
{
    const int keycodeZInUs = typist.KeycodeOf(kKeysymZ);
    SetLayout("ru");
    typist.Press(keycodeA);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_EQ(keys->KeycodeOf('Z'), keycodeZInUs);
}

TEST_F(X11KeyStateTest, PollingAloneReadsHeldKeys)
{
    keys = Open(X11PressEvents::None);
    typist.Press(keycodeA);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    typist.Release(keycodeA);
    EXPECT_EQ(ReadOnNextTick('A'), 0);
}

TEST_F(X11KeyStateTest, CapsLockIndicatorFollowsTheLockKey)
{
    auto locks = X11LockKeySource::Open(server.DisplayName().c_str());
    ASSERT_NE(locks, nullptr);
    EXPECT_FALSE(locks->ReadLockKeys().capsLock);
    const int keycodeCapsLock = typist.KeycodeOf(kKeysymCapsLock);
    typist.Tap(keycodeCapsLock);
    const LockKeys on = locks->ReadLockKeys();
    EXPECT_TRUE(on.capsLock);
    EXPECT_FALSE(on.numLock);
    EXPECT_FALSE(on.scrollLock);
    EXPECT_FALSE(on.kana);
    typist.Tap(keycodeCapsLock);
    EXPECT_FALSE(locks->ReadLockKeys().capsLock);
}

TEST_F(X11KeyStateTest, ProgramOnX11PicksRawEventsWithoutANotice)
{
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    int argc = 1;
    char name[] = "platform_keys_x11_tests";
    char* argv[] = { name, nullptr };
    QGuiApplication application(argc, argv);
    std::ostringstream notices;
    KeyboardReaders readers = CreateKeyboardReaders(notices);
    EXPECT_EQ(notices.str(), "");
    ASSERT_NE(readers.keys, nullptr);
    ASSERT_NE(readers.locks, nullptr);
    // Only raw events see a tap made between two ticks.
    readers.keys->Refresh();
    typist.Tap(keycodeA);
    readers.keys->Refresh();
    EXPECT_NE(readers.keys->GetAsyncKeyState('A'), 0);
}

}
