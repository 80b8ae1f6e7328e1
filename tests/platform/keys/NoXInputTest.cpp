#include <cstdlib>
#include <sstream>

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "TestXClients.h"
#include "XvfbServer.h"
#include "platform/keys/KeyboardReaders.h"
#include "platform/keys/X11KeyState.h"

// Runs with the shim preloaded that hides XInput from every X client in this process.
namespace {

class NoXInputTest : public ::testing::Test {
protected:
    XvfbServer server;
    XTestTypist typist { server.DisplayName() };
    int keycodeA = typist.KeycodeOf(kKeysymA);
};

TEST_F(NoXInputTest, RawEventsCannotOpenAndSayWhy)
{
    std::string whyNot;
    EXPECT_EQ(X11KeyState::Open(server.DisplayName().c_str(), X11PressEvents::RawXInput2, whyNot), nullptr);
    EXPECT_NE(whyNot.find("XInput"), std::string::npos) << whyNot;
}

TEST_F(NoXInputTest, ProgramFallsBackToPollingSaysSoAndReadsHeldKeys)
{
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    int argc = 1;
    char name[] = "platform_keys_no_xinput_tests";
    char* argv[] = { name, nullptr };
    QGuiApplication application(argc, argv);
    std::ostringstream notices;
    KeyboardReaders readers = CreateKeyboardReaders(notices);
    const std::string notice = notices.str();
    EXPECT_EQ(notice.rfind("tavo: ", 0), 0U) << notice;
    EXPECT_NE(notice.find("XInput"), std::string::npos) << notice;
    EXPECT_NE(notice.find("polling XQueryKeymap"), std::string::npos) << notice;
    EXPECT_NE(notice.find("can be lost"), std::string::npos) << notice;
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), 1) << notice;

    OtherProgramWindow other(server.DisplayName());
    other.TakeFocus();
    ASSERT_NE(readers.keys, nullptr);
    typist.Press(keycodeA);
    for (int tick = 0; tick < 2; ++tick) {
        readers.keys->Refresh();
        EXPECT_NE(readers.keys->GetAsyncKeyState('A'), 0) << "tick " << tick;
    }
    typist.Release(keycodeA);
    readers.keys->Refresh();
    EXPECT_EQ(readers.keys->GetAsyncKeyState('A'), 0);
}

}
