#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "JackTestRig.h"
#include "TavoUnderX.h"
#include "TestXClients.h"
#include "XvfbServer.h"

namespace {

using namespace std::chrono_literals;
using Message = JackMidiReceiver::Message;

const Message kMiddleCOn { 0x90, 60, 127 };
const Message kMiddleCOff { 0x90, 60, 0 };

// The real program on a private X server, playing into a JACK receiver on a private
// JACK server; keys are typed through XTest as a user would.
class EndToEndTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(jack.IsReady()) << "jackd -d dummy did not start";
        ASSERT_TRUE(receiver.IsRunning());
        letterA = typist.KeycodeOf(kKeysymA);
        ASSERT_NE(letterA, 0);
        tavo = std::make_unique<TavoProcess>(TAVO_EXECUTABLE,
            std::vector<std::string> { "--midi-out", JackMidiReceiver::kPortName }, xvfb.DisplayName());
        window = watcher.WaitForMappedWindow(30s);
        ASSERT_NE(window, 0u) << "the window never appeared";
    }

    void TearDown() override
    {
        if (letterA != 0) {
            typist.Release(letterA);
        }
    }

    // Holds A until the receiver has its note-on.
    void PressAAndHearIt()
    {
        typist.Press(letterA);
        EXPECT_EQ(receiver.WaitForMessages(1), std::vector<Message> { kMiddleCOn });
    }

    XvfbServer xvfb;
    JackTestServer jack;
    JackMidiReceiver receiver;
    XTestTypist typist { xvfb.DisplayName() };
    TopLevelWatcher watcher { xvfb.DisplayName() };
    std::unique_ptr<TavoProcess> tavo;
    unsigned long window = 0;
    int letterA = 0;
};

TEST_F(EndToEndTest, LetterASoundsMiddleCAndLettingGoReleasesIt)
{
    EXPECT_EQ(watcher.TitleOf(window), "Tavo");
    PressAAndHearIt();
    typist.Release(letterA);
    EXPECT_EQ(receiver.WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));

    watcher.RequestClose(window);
    EXPECT_EQ(tavo->WaitForExit(20s), 0);
    EXPECT_EQ(receiver.WaitForMessages(3).size(), 2u); // nothing more at the close
}

TEST_F(EndToEndTest, ClosingTheWindowWhileAKeyIsHeldReleasesIt)
{
    PressAAndHearIt();
    watcher.RequestClose(window);
    EXPECT_EQ(tavo->WaitForExit(20s), 0);
    EXPECT_EQ(receiver.WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
}

TEST_F(EndToEndTest, TerminateSignalWhileAKeyIsHeldShutsDownCleanly)
{
    PressAAndHearIt();
    tavo->Signal(SIGTERM);
    EXPECT_EQ(tavo->WaitForExit(20s), 0);
    EXPECT_EQ(receiver.WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
}

TEST_F(EndToEndTest, InterruptSignalShutsDownCleanly)
{
    tavo->Signal(SIGINT);
    EXPECT_EQ(tavo->WaitForExit(20s), 0);
}

}
