// The real program on a private X server, playing into a private JACK server's receiver,
// typed on and clicked with xdotool as a user would.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <X11/Xlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rig/ChildProcess.h"
#include "rig/JackRig.h"
#include "rig/Xdo.h"
#include "rig/XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Message = std::vector<std::uint8_t>;

const Message kMiddleCOn { 0x90, 0x3C, 0x7F };
const Message kMiddleCOff { 0x90, 0x3C, 0x00 };

class ProgramTest : public testing::Test {
protected:
    ProgramTest() { fs::create_directories(folder); }
    ~ProgramTest() override { fs::remove_all(folder); }

    // Starts the program on the X server, and returns once its window shows.
    void Start(std::vector<std::string> args, std::vector<std::string> environment = {},
        const std::string& executable = TAVO_EXECUTABLE)
    {
        environment.insert(environment.begin(), { "DISPLAY=" + xvfb.DisplayName(), "QT_QPA_PLATFORM=xcb" });
        tavo = std::make_unique<ChildProcess>(executable, args, environment);
        window.clear();
        for (int attempt = 0; attempt < 3 && window.empty(); ++attempt) {
            window = Xdo(xvfb.DisplayName(), { "search", "--sync", "--onlyvisible", "--name", "^Tavo$" }).value_or("");
        }
        window = window.substr(0, window.find('\n'));
        ASSERT_FALSE(window.empty()) << "no window; stderr: " << tavo->Stderr();
    }
    void Xdotool(const std::vector<std::string>& args) { ASSERT_TRUE(Xdo(xvfb.DisplayName(), args)); }
    // What a window manager's close box does: sends WM_DELETE_WINDOW.
    void CloseWindow()
    {
        Display* display = XOpenDisplay(xvfb.DisplayName().c_str());
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = std::stoul(window);
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
        XCloseDisplay(display);
        window.clear();
    }

    const fs::path folder = fs::path(testing::TempDir()) / ("tavo-program-" + std::to_string(getpid()));
    XvfbServer xvfb;
    std::unique_ptr<JackServer> jack = std::make_unique<JackServer>();
    std::unique_ptr<MidiDump> receiver = std::make_unique<MidiDump>();
    std::unique_ptr<ChildProcess> tavo;
    std::string window;
};

TEST_F(ProgramTest, LetterAAndAClickPlayMiddleCAndClosingTheWindowReleasesAHeldKey)
{
    Start({ "--midi-out", "tavo-dump" });
    Xdotool({ "keydown", "a" });
    EXPECT_EQ(receiver->WaitForMessages(1), std::vector<Message> { kMiddleCOn });
    Xdotool({ "keyup", "a" });
    EXPECT_EQ(receiver->WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
    // Key 0 of the view, below the menu and the bars; the click also draws an instrument.
    Xdotool({ "mousemove", "--window", window, "25", "250", "click", "1" });
    const auto clicked = receiver->WaitForMessages(5);
    ASSERT_EQ(clicked.size(), 5u);
    EXPECT_EQ(clicked[2].at(0), 0xC0);
    EXPECT_EQ(std::vector(clicked.begin() + 3, clicked.end()), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
    Xdotool({ "keydown", "a" });
    EXPECT_EQ(receiver->WaitForMessages(6).back(), kMiddleCOn);
    CloseWindow();
    EXPECT_EQ(tavo->WaitForExit(20s), 0);
    EXPECT_EQ(receiver->WaitForMessages(7).back(), kMiddleCOff);
}

TEST_F(ProgramTest, TerminateSignalReleasesAHeldKey)
{
    Start({ "--midi-out", "tavo-dump" });
    Xdotool({ "keydown", "a" });
    EXPECT_EQ(receiver->WaitForMessages(1), std::vector<Message> { kMiddleCOn });
    tavo->Signal(SIGTERM);
    EXPECT_EQ(tavo->WaitForExit(20s), 0);
    EXPECT_EQ(receiver->WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
}

// With --virtual-port other programs connect to Tavo: the port Tavo names in its line is
// the one JACK lists, and a client connected to it hears what the other tests' receiver
// hears from --midi-out, the release at SIGTERM included.
TEST_F(ProgramTest, VirtualPortIsHeardByAClientConnectedToItAndReleasesAHeldKeyAtSigterm)
{
    Start({ "--virtual-port" });
    const std::string said = tavo->Stderr();
    const std::string opened = "tavo: playing on the JACK MIDI port Tavo:Tavo\n";
    ASSERT_NE(said.find(opened), std::string::npos) << said;
    ASSERT_TRUE(receiver->Connect("Tavo:Tavo"));
    Xdotool({ "keydown", "a" });
    EXPECT_EQ(receiver->WaitForMessages(1), std::vector<Message> { kMiddleCOn });
    Xdotool({ "keyup", "a" });
    EXPECT_EQ(receiver->WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
    Xdotool({ "keydown", "a" });
    EXPECT_EQ(receiver->WaitForMessages(3).size(), 3u);
    tavo->Signal(SIGTERM);
    EXPECT_EQ(tavo->WaitForExit(20s), 0);
    EXPECT_EQ(
        receiver->WaitForMessages(4), (std::vector<Message> { kMiddleCOn, kMiddleCOff, kMiddleCOn, kMiddleCOff }));
}

// With no JACK server and no ALSA sequencer there is nowhere to open the port: one line
// that says so, and a failure, rather than a keyboard that plays into nothing.
TEST_F(ProgramTest, VirtualPortWithoutJackOrSequencerSaysSoInOneLineAndExits1)
{
    if (fs::exists("/dev/snd/seq")) {
        GTEST_SKIP() << "this machine has an ALSA sequencer, where the port opens";
    }
    tavo = std::make_unique<ChildProcess>(TAVO_EXECUTABLE, std::vector<std::string> { "--virtual-port", "Keys" },
        std::vector<std::string> { "JACK_DEFAULT_SERVER=tavo-no-such-server", "DISPLAY=" });
    EXPECT_EQ(tavo->WaitForExit(20s), 1);
    EXPECT_EQ(tavo->Stderr(),
        "tavo: cannot open the MIDI port \"Keys\": no JACK server is running and the ALSA sequencer cannot be "
        "opened (No such file or directory)\n");
}

// Hostile conditions, one a row: the program starts, plays when the receiver can hear it,
// says what went wrong in one "tavo: " line and exits 0 once its window is closed. Each
// row runs a copy of the program in a folder of its own, where the name list is looked for.
TEST_F(ProgramTest, HostileConditionsLeaveTheProgramRunning)
{
    const fs::path list = folder / "olist.txt";
    const fs::path truncated = folder / "truncated.sf2";
    struct Row {
        std::string name;
        std::vector<std::string> args = {};
        std::vector<std::string> environment = {};
        std::function<void()> setup = [] {}; // once the folder is there
        std::string says = ""; // in its "tavo: " line; no such line when empty
        bool plays = false; // key A, on the receiver, which is added as --midi-out
        std::function<void()> whilePlaying = [] {};
        std::optional<int> exitsAlone = {}; // with this code, without a display; `says` is in its output
    } const rows[] = {
        { .name = "missing soundfont",
            .args = { "--soundfont", folder / "missing.sf2" },
            .says = "tavo: the built-in synthesizer has no soundfont" },
        { .name = "truncated soundfont",
            .args = { "--soundfont", truncated },
            .setup =
                [&] {
                    fs::copy_file("/usr/share/sounds/sf2/TimGM6mb.sf2", truncated);
                    fs::resize_file(truncated, 64 * 1024);
                },
            .says = "soundfont" },
        { .name = "no audio driver",
            .args = { "--audio-driver", "jack" },
            .environment = { "JACK_DEFAULT_SERVER=tavo-no-such-server" },
            .says = "tavo: no audio output could start (tried jack" },
        { .name = "audio file in a missing folder",
            .args = { "--audio-file", "/nonexistent/take.wav" },
            .says = "tavo: cannot write audio to /nonexistent/take.wav" },
        { .name = "no name list", .plays = true },
        { .name = "name list a directory", .setup = [&] { fs::create_directory(list); }, .plays = true },
        { .name = "name list a FIFO", .setup = [&] { mkfifo(list.c_str(), 0600); }, .plays = true },
        { .name = "name list binary", .setup = [&] { fs::copy_file(TAVO_EXECUTABLE, list); }, .plays = true },
        { .name = "name list of 1 MiB without line ends",
            .setup = [&] { std::ofstream(list) << std::string(1 << 20, 'x'); },
            .plays = true },
        { .name = "JACK server gone",
            .says = "lost its JACK server",
            .plays = true,
            .whilePlaying =
                [&] {
                    jack->Stop();
                    Xdotool({ "key", "a" });
                } },
        { .name = "no XInput",
            .environment = { "LD_PRELOAD=" NO_XINPUT_SHIM },
            .says = "tavo: the X server has no XInput extension",
            .plays = true },
        { .name = "version", .args = { "--version" }, .says = "Tavo 1.0\n", .exitsAlone = 0 },
        { .name = "output list",
            .args = { "--list-midi-outputs" },
            .says = "0: Tavo built-in synthesizer (FluidSynth)\n",
            .exitsAlone = 0 },
        { .name = "unknown option", .args = { "--frobnicate" }, .says = "frobnicate", .exitsAlone = 2 },
        { .name = "unmatched output",
            .args = { "--midi-out", "nothing" },
            .says = "0: Tavo built-in",
            .exitsAlone = 2 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(TAVO_EXECUTABLE, folder / "tavo");
        row.setup();
        if (!jack->IsReady()) {
            jack = std::make_unique<JackServer>();
        }
        receiver = std::make_unique<MidiDump>();
        std::vector<std::string> args = row.args;
        if (row.plays) {
            args.insert(args.end(), { "--midi-out", "tavo-dump" });
        }
        if (row.exitsAlone) {
            tavo = std::make_unique<ChildProcess>(folder / "tavo", args, std::vector<std::string> { "DISPLAY=" });
            EXPECT_EQ(tavo->WaitForExit(20s), row.exitsAlone);
            EXPECT_NE((tavo->Stdout() + tavo->Stderr()).find(row.says), std::string::npos) << tavo->Stderr();
            continue;
        }
        Start(args, row.environment, folder / "tavo");
        if (row.plays) {
            Xdotool({ "keydown", "a" });
            EXPECT_EQ(receiver->WaitForMessages(1), std::vector<Message> { kMiddleCOn });
            Xdotool({ "keyup", "a" });
            EXPECT_EQ(receiver->WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
        }
        row.whilePlaying();
        EXPECT_EQ(tavo->WaitForExit(300ms), std::nullopt) << "stopped by itself";
        CloseWindow();
        EXPECT_EQ(tavo->WaitForExit(20s), 0);
        std::istringstream lines(tavo->Stderr());
        int told = 0;
        for (std::string line; std::getline(lines, line);)
            told += line.rfind("tavo: ", 0) == 0;
        EXPECT_EQ(told, row.says.empty() ? 0 : 1) << tavo->Stderr();
        EXPECT_NE(tavo->Stderr().find(row.says), std::string::npos);
    }
}

}
