#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "rig/ChildProcess.h"
#include "rig/JackRig.h"
#include "rig/Xdo.h"
#include "rig/XvfbServer.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const Bytes kMiddleCOn { 0x90, 0x3C, 0x7F };
const Bytes kMiddleCOff { 0x90, 0x3C, 0x00 };
constexpr const char* kOpenedLine = "tavo: playing on the JACK MIDI port ";

// The name Tavo gives its port in its one line about it, once it has said so.
std::string AnnouncedPort(const ChildProcess& tavo)
{
    for (auto waited = 0ms; waited < 10s; waited += 10ms) {
        const std::string said = tavo.Stderr();
        const auto line = said.find(kOpenedLine);
        const auto end = said.find('\n', line);
        if (line != std::string::npos && end != std::string::npos) {
            return said.substr(line + std::string(kOpenedLine).size(), end - line - std::string(kOpenedLine).size());
        }
        std::this_thread::sleep_for(10ms);
    }
    return {};
}

// A JACK client connected to Tavo's own port hears what the letters play, and the
// release of a key still held when Tavo is told to end.
TEST(VirtualPortTest, JackClientHearsTheLettersAndTheReleaseAtSigterm)
{
    JackServer jack;
    ASSERT_TRUE(jack.IsReady()) << "jackd -d dummy did not start";
    XvfbServer display;
    ChildProcess tavo(TAVO_EXECUTABLE, { "--virtual-port" }, { "DISPLAY=" + display.DisplayName() });
    const std::string port = AnnouncedPort(tavo);
    ASSERT_EQ(port, "Tavo:Tavo") << tavo.Stderr();
    MidiDump dump;
    ASSERT_TRUE(dump.Connect(port));

    ASSERT_TRUE(Xdo(display.DisplayName(), { "keydown", "a" }));
    EXPECT_EQ(dump.WaitForMessages(1), std::vector<Bytes>({ kMiddleCOn }));
    ASSERT_TRUE(Xdo(display.DisplayName(), { "keyup", "a" }));
    EXPECT_EQ(dump.WaitForMessages(2), std::vector<Bytes>({ kMiddleCOn, kMiddleCOff }));

    ASSERT_TRUE(Xdo(display.DisplayName(), { "keydown", "a" }));
    ASSERT_EQ(dump.WaitForMessages(3).size(), 3U);
    tavo.Signal(SIGTERM);
    EXPECT_EQ(tavo.WaitForExit(10s), 0) << tavo.Stderr();
    EXPECT_EQ(dump.WaitForMessages(4), std::vector<Bytes>({ kMiddleCOn, kMiddleCOff, kMiddleCOn, kMiddleCOff }));
}

// With no JACK server and no ALSA sequencer there is nowhere to open the port: one line
// that says so, and a failure, rather than a keyboard that plays into nothing.
TEST(VirtualPortTest, WithoutJackOrSequencerSaysSoInOneLineAndExits1)
{
    if (std::filesystem::exists("/dev/snd/seq")) {
        GTEST_SKIP() << "this machine has an ALSA sequencer, where the port opens";
    }
    const std::string noServer = "JACK_DEFAULT_SERVER=tavo-none-" + std::to_string(getpid());
    ChildProcess tavo(TAVO_EXECUTABLE, { "--virtual-port", "Keys" }, { noServer, "DISPLAY=" });
    EXPECT_EQ(tavo.WaitForExit(10s), 1);
    EXPECT_EQ(tavo.Stderr(),
        "tavo: cannot open the MIDI port \"Keys\": no JACK server is running and the ALSA sequencer cannot be "
        "opened (No such file or directory)\n");
}

}
