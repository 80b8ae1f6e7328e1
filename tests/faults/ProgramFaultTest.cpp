#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "JackTestRig.h"
#include "TavoUnderX.h"
#include "TestXClients.h"
#include "XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Message = JackMidiReceiver::Message;

const Message kMiddleCOn { 0x90, 60, 127 };
const Message kMiddleCOff { 0x90, 60, 0 };

// Sets a variable for the programs this test starts, and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The real program on a private X server, started in conditions it must survive: it
// must show its window, keep running, say on stderr what went wrong, and exit cleanly.
class ProgramFaultTest : public testing::Test {
protected:
    ProgramFaultTest()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(testing::TempDir()) / (std::string("tavo-program-fault-") + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~ProgramFaultTest() override { fs::remove_all(folder); }

    void Start(const std::vector<std::string>& args, const std::string& executable = TAVO_EXECUTABLE)
    {
        tavo = std::make_unique<TavoProcess>(executable, args, xvfb.DisplayName(), StderrPath());
        window = watcher.WaitForMappedWindow(30s);
        ASSERT_NE(window, 0u) << "the window never appeared; stderr: " << Stderr();
    }

    // Still running a moment after start-up, then gone with exit code 0 on SIGTERM.
    void ExpectRunningThenCleanExit()
    {
        EXPECT_EQ(tavo->WaitForExit(300ms), std::nullopt) << "the program stopped by itself; stderr: " << Stderr();
        tavo->Signal(SIGTERM);
        EXPECT_EQ(tavo->WaitForExit(20s), 0) << Stderr();
    }

    std::string StderrPath() const { return (folder / "stderr.txt").string(); }
    std::string Stderr() const
    {
        std::ifstream file(StderrPath());
        return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    }

    fs::path folder;
    XvfbServer xvfb;
    TopLevelWatcher watcher { xvfb.DisplayName() };
    std::unique_ptr<TavoProcess> tavo;
    unsigned long window = 0;
};

TEST_F(ProgramFaultTest, MissingSoundfontIsReportedAndTheProgramRunsOn)
{
    Start({ "--soundfont", (folder / "missing.sf2").string() });
    ExpectRunningThenCleanExit();
    EXPECT_NE(Stderr().find("tavo: the built-in synthesizer has no soundfont"), std::string::npos) << Stderr();
}

TEST_F(ProgramFaultTest, TruncatedSoundfontIsReportedAndTheProgramRunsOn)
{
    const fs::path truncated = folder / "truncated.sf2";
    {
        std::ifstream whole("/usr/share/sounds/sf2/TimGM6mb.sf2", std::ios::binary);
        std::vector<char> start(64 * 1024);
        whole.read(start.data(), static_cast<std::streamsize>(start.size()));
        ASSERT_EQ(whole.gcount(), static_cast<std::streamsize>(start.size()));
        std::ofstream(truncated, std::ios::binary).write(start.data(), whole.gcount());
    }
    Start({ "--soundfont", truncated.string() });
    ExpectRunningThenCleanExit();
    EXPECT_NE(Stderr().find("soundfont"), std::string::npos) << Stderr();
}

TEST_F(ProgramFaultTest, NoAudioDriverIsReportedAndTheProgramRunsOn)
{
    // JACK with no server to reach: the driver cannot start, whatever the machine has.
    const ScopedVariable noServer("JACK_DEFAULT_SERVER", "tavo-fault-no-such-server");
    Start({ "--audio-driver", "jack" });
    ExpectRunningThenCleanExit();
    EXPECT_NE(Stderr().find("tavo: "), std::string::npos) << Stderr();
    EXPECT_NE(Stderr().find("jack"), std::string::npos) << Stderr();
}

TEST_F(ProgramFaultTest, BadNameListsBesideTheExecutableLeaveTheProgramRunning)
{
    // The program reads the list beside itself, so each case runs a copy of it.
    const fs::path executable = folder / "tavo";
    fs::copy_file(TAVO_EXECUTABLE, executable);
    const fs::path list = folder / "olist.txt";
    struct Case {
        const char* name;
        void (*make)(const fs::path&);
    };
    const Case cases[] = {
        { "missing", [](const fs::path&) {} },
        { "a directory", [](const fs::path& path) { fs::create_directory(path); } },
        { "a FIFO", [](const fs::path& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); } },
        { "binary", [](const fs::path& path) { fs::copy_file(TAVO_EXECUTABLE, path); } },
        { "1 MiB without line ends",
            [](const fs::path& path) { std::ofstream(path, std::ios::binary) << std::string(1 << 20, 'x'); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(list);
        c.make(list);
        Start({}, executable.string());
        watcher.RequestClose(window);
        EXPECT_EQ(tavo->WaitForExit(20s), 0) << Stderr();
    }
}

// With a JACK receiver, so the tests can hear that playing still works.
class ProgramFaultWithReceiverTest : public ProgramFaultTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(jack.IsReady()) << "jackd -d dummy did not start";
        ASSERT_TRUE(receiver.IsRunning());
        letterA = typist.KeycodeOf(kKeysymA);
        ASSERT_NE(letterA, 0);
    }
    void TearDown() override { typist.Release(letterA); }

    JackTestServer jack;
    JackMidiReceiver receiver;
    XTestTypist typist { xvfb.DisplayName() };
    int letterA = 0;
};

TEST_F(ProgramFaultWithReceiverTest, JackServerGoneMidRunLeavesTheProgramRunning)
{
    Start({ "--midi-out", JackMidiReceiver::kPortName });
    typist.Press(letterA);
    ASSERT_EQ(receiver.WaitForMessages(1), std::vector<Message> { kMiddleCOn });
    jack.Stop();
    typist.Release(letterA);
    typist.Tap(letterA);
    ExpectRunningThenCleanExit();
    EXPECT_NE(Stderr().find("lost its JACK server"), std::string::npos) << Stderr();
}

TEST_F(ProgramFaultWithReceiverTest, ServerWithoutXInputStillPlaysHeldKeys)
{
    {
        const ScopedVariable shim("LD_PRELOAD", TAVO_NO_XINPUT_SHIM);
        Start({ "--midi-out", JackMidiReceiver::kPortName });
    }
    EXPECT_NE(Stderr().find("tavo: the X server has no XInput extension"), std::string::npos) << Stderr();
    typist.Press(letterA);
    EXPECT_EQ(receiver.WaitForMessages(1), std::vector<Message> { kMiddleCOn });
    typist.Release(letterA);
    EXPECT_EQ(receiver.WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
    ExpectRunningThenCleanExit();
}

}
