#include <gtest/gtest.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
const fs::path kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

std::size_t LineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The size its "data" chunk declares, which readers trust; 0 when there is none.
std::uint32_t WavDataBytes(const fs::path& path)
{
    const std::string wav = ReadFile(path);
    for (std::size_t at = 12; at + 8 <= wav.size();) {
        std::uint32_t size = 0;
        std::memcpy(&size, wav.data() + at + 4, sizeof size);
        if (wav.compare(at, 4, "data") == 0) {
            return at + 8 + size <= wav.size() ? size : 0;
        }
        at += 8 + size;
    }
    return 0;
}

// The real program under a private X server, each test in a folder of its own.
class ExitAndFileSafetyTest : public testing::Test {
protected:
    ExitAndFileSafetyTest()
        : folder(fs::path(testing::TempDir())
            / (std::string("tavo-safety-") + testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        // SIGQUIT's core dump is part of what is checked, not something to keep.
        const rlimit noCore { 0, 0 };
        setrlimit(RLIMIT_CORE, &noCore);
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~ExitAndFileSafetyTest() override { fs::remove_all(folder); }

    void Start(const std::vector<std::string>& args, const std::string& executable = TAVO_EXECUTABLE)
    {
        tavo = std::make_unique<ChildProcess>(
            executable, args, std::vector<std::string> { "DISPLAY=" + xvfb.DisplayName() });
    }
    void StartAndWaitForWindow(const std::vector<std::string>& args)
    {
        Start(args);
        ASSERT_TRUE(Xdo(xvfb.DisplayName(), { "search", "--sync", "--onlyvisible", "--name", "Tavo" }))
            << "no window; stderr: " << tavo->Stderr();
    }
    // A copy of the program beside a name list of its own, for takes aimed at either.
    fs::path CopyOfTheProgram()
    {
        fs::copy_file(TAVO_EXECUTABLE, folder / "tavo");
        fs::copy_file(fs::path(TAVO_EXECUTABLE).parent_path() / "olist.txt", folder / "olist.txt");
        return folder / "tavo";
    }

    fs::path folder;
    XvfbServer xvfb;
    std::unique_ptr<ChildProcess> tavo;
};

// Each row names a take that must not be written: the program refuses it with exit code 2
// before it opens anything, and the file it names keeps every byte.
TEST_F(ExitAndFileSafetyTest, TakesThatMustNotBeWrittenAreRefusedBeforeAnythingOpens)
{
    const fs::path executable = CopyOfTheProgram();
    fs::copy_file(kSoundfont, folder / "own.sf2");
    fs::create_symlink(folder / "own.sf2", folder / "link-to-soundfont.wav");
    ASSERT_EQ(mkfifo((folder / "fifo.wav").c_str(), 0600), 0);
    const std::string sf = (folder / "own.sf2").string();
    struct Row {
        const char* what;
        std::vector<std::string> args;
        fs::path untouched;
    };
    const Row rows[] = {
        { "the soundfont in use", { "--soundfont", sf, "--audio-file", sf }, sf },
        { "a link to the soundfont", { "--soundfont", sf, "--audio-file", (folder / "link-to-soundfont.wav").string() },
            sf },
        { "the name list", { "--audio-file", (folder / "olist.txt").string() }, folder / "olist.txt" },
        { "the executable", { "--audio-file", executable.string() }, executable },
        { "a FIFO", { "--audio-file", (folder / "fifo.wav").string() }, {} },
        { "an empty name", { "--audio-file", "" }, {} },
        { "the file driver without a file", { "--audio-driver", "file" }, "fluidsynth.wav" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string before = row.untouched.empty() ? "" : ReadFile(row.untouched);
        Start(row.args, executable.string());
        EXPECT_EQ(tavo->WaitForExit(10s), 2) << tavo->Stderr();
        EXPECT_EQ(tavo->Stderr().rfind("tavo: ", 0), 0U) << tavo->Stderr();
        EXPECT_LE(LineCount(tavo->Stderr()), 2U) << tavo->Stderr();
        if (!row.untouched.empty()) {
            EXPECT_EQ(ReadFile(row.untouched), before);
        }
    }
    EXPECT_FALSE(fs::remove("fluidsynth.wav"));
}

TEST_F(ExitAndFileSafetyTest, FileNamesReachTheFileSystemByteForByte)
{
    const fs::path soundfont = folder / "\xe9.sf2";
    const fs::path take = folder / "\xe9.wav";
    fs::copy_file(kSoundfont, soundfont);
    StartAndWaitForWindow({ "--soundfont", soundfont.string(), "--audio-file", take.string() });
    tavo->Signal(SIGTERM);
    EXPECT_EQ(tavo->WaitForExit(20s), 0) << tavo->Stderr();
    EXPECT_EQ(tavo->Stderr().find("soundfont"), std::string::npos) << tavo->Stderr();
    EXPECT_GT(WavDataBytes(take), 0U);
}

// Each row is a way out that skips closing the window; the take must come out readable.
TEST_F(ExitAndFileSafetyTest, TakeIsFinishedOnEveryWayOut)
{
    struct Row {
        const char* what;
        std::function<void()> leave;
        int exitCode;
    };
    const Row rows[] = {
        { "SIGHUP", [this] { tavo->Signal(SIGHUP); }, 0 },
        { "the X server dies", [this] { xvfb.Kill(); }, 1 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path take = folder / (std::string(row.what) + ".wav");
        StartAndWaitForWindow({ "--audio-file", take.string() });
        std::this_thread::sleep_for(300ms);
        row.leave();
        EXPECT_EQ(tavo->WaitForExit(20s), row.exitCode) << tavo->Stderr();
        EXPECT_GT(WavDataBytes(take), 0U);
    }
}

// With a JACK receiver: what reaches another program when Tavo leaves with A held.
class ExitWithReceiverTest : public ExitAndFileSafetyTest {
protected:
    void SetUp() override { ASSERT_TRUE(jack.IsReady()) << "jackd -d dummy did not start"; }
    void StartHoldingA()
    {
        StartAndWaitForWindow({ "--midi-out", "tavo-dump-" });
        ASSERT_TRUE(Xdo(xvfb.DisplayName(), { "keydown", "a" }));
        ASSERT_EQ(receiver.WaitForMessages(1), std::vector<Message> { kMiddleCOn }) << tavo->Stderr();
    }
    // SIGSTOP or SIGCONT to this test's jackd.
    void SignalJackd(int signal)
    {
        for (const auto& entry : fs::directory_iterator("/proc")) {
            const std::string command = ReadFile(entry.path() / "cmdline");
            if (command.rfind("jackd", 0) == 0 && command.find(jack.Name()) != std::string::npos) {
                kill(std::stoi(entry.path().filename()), signal);
            }
        }
    }

    JackServer jack;
    MidiDump receiver;
};

// A way out that skips closing the window, with what it must end in.
struct WayOut {
    const char* name;
    std::function<void(ChildProcess&, XvfbServer&)> leave;
    std::optional<int> exitCode; // nothing: ended by the signal
    std::size_t stderrLines;
};

void PrintTo(const WayOut& wayOut, std::ostream* out)
{
    *out << wayOut.name;
}

class WayOutTest : public ExitWithReceiverTest, public testing::WithParamInterface<WayOut> { };

TEST_P(WayOutTest, ReleasesTheHeldKey)
{
    StartHoldingA();
    const std::size_t linesBefore = LineCount(tavo->Stderr());
    GetParam().leave(*tavo, xvfb);
    EXPECT_EQ(tavo->WaitForExit(20s), GetParam().exitCode) << tavo->Stderr();
    EXPECT_EQ(kill(tavo->Pid(), 0), -1) << "still running";
    EXPECT_EQ(receiver.WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
    EXPECT_EQ(LineCount(tavo->Stderr()) - linesBefore, GetParam().stderrLines) << tavo->Stderr();
}

INSTANTIATE_TEST_SUITE_P(Rows, WayOutTest,
    testing::Values(WayOut { "SIGHUP", [](ChildProcess& tavo, XvfbServer&) { tavo.Signal(SIGHUP); }, 0, 0 },
        WayOut { "SIGQUIT", [](ChildProcess& tavo, XvfbServer&) { tavo.Signal(SIGQUIT); }, std::nullopt, 0 },
        WayOut { "XServerDies", [](ChildProcess&, XvfbServer& xvfb) { xvfb.Kill(); }, 1, 1 }),
    [](const testing::TestParamInfo<WayOut>& info) { return std::string(info.param.name); });

TEST_F(ExitWithReceiverTest, FrozenJackServerHoldsShutDownTwoSecondsAtMost)
{
    StartHoldingA();
    SignalJackd(SIGSTOP);
    const auto start = std::chrono::steady_clock::now();
    tavo->Signal(SIGTERM);
    const auto exitCode = tavo->WaitForExit(10s);
    const auto took = std::chrono::steady_clock::now() - start;
    SignalJackd(SIGCONT);
    EXPECT_EQ(exitCode, 1) << tavo->Stderr();
    EXPECT_LT(took, 4s);
    EXPECT_NE(tavo->Stderr().find("did not close within 2 s"), std::string::npos) << tavo->Stderr();
}

TEST_F(ExitWithReceiverTest, DigitsNameADeviceNumberNeverAPortContainingThem)
{
    // The receiver's name carries this process's id; devices are 0 and 1 only.
    Start({ "--midi-out", std::to_string(getpid()) });
    EXPECT_EQ(tavo->WaitForExit(10s), 2) << tavo->Stderr();
}

TEST_F(ExitWithReceiverTest, PortNamesChosenByOtherProgramsCannotReachTheTerminalRaw)
{
    jack_client_t* client = jack_client_open("evil\x1b]0;title\x07", JackNoStartServer, nullptr);
    ASSERT_NE(client, nullptr);
    ASSERT_NE(jack_port_register(client, "in\x1b[2J", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0), nullptr);
    ASSERT_EQ(jack_activate(client), 0);
    Start({ "--list-midi-outputs" });
    EXPECT_EQ(tavo->WaitForExit(10s), 0) << tavo->Stderr();
    jack_client_close(client);
    EXPECT_NE(tavo->Stdout().find("evil\\x1b]0;title\\x07:in\\x1b[2J"), std::string::npos) << tavo->Stdout();
    EXPECT_EQ(tavo->Stdout().find('\x1b'), std::string::npos);
}

}
