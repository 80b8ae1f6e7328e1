// The real program on a private X server, playing into a private JACK server's receiver,
// typed on and clicked with xdotool as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <list>
#include <sstream>
#include <thread>

#include <X11/Xlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rig/ChildProcess.h"
#include "rig/JackRig.h"
#include "rig/XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Message = std::vector<std::uint8_t>;

const Message kMiddleCOn { 0x90, 0x3C, 0x7F };
const std::vector<Message> kMiddleCTapped { kMiddleCOn, { 0x90, 0x3C, 0x00 } };
const fs::path kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr double kMiddleCHertz = 261.6;

// The median pitch aubiopitch hears in `wav` from `from` to `to` seconds, silence left out; 0 if none.
double MedianPitch(const fs::path& wav, double from, double to)
{
    std::istringstream pitches(ToolOutput("aubiopitch", { "-i", wav }).value_or(""));
    std::vector<double> heard;
    for (double time = 0, hertz = 0; pitches >> time >> hertz;) {
        if (time > from && time < to && hertz > 0) {
            heard.push_back(hertz);
        }
    }
    std::nth_element(heard.begin(), heard.begin() + heard.size() / 2, heard.end());
    return heard.empty() ? 0 : heard[heard.size() / 2];
}

// The channel messages of a --midi-file take as midicsv reads them ("Note_on_c, 0, 60, 127"), each after its time
// in ms; none unless midicsv reads a whole format 0 file at 1 ms a tick.
std::vector<std::pair<int, std::string>> TakeEvents(const fs::path& take)
{
    const std::string csv = ToolOutput("midicsv", { take }).value_or("");
    const bool whole = csv.starts_with("0, 0, Header, 0, 1, 1000\n1, 0, Start_track\n1, 0, Tempo, 1000000\n")
        && csv.ends_with("End_track\n0, 0, End_of_file\n");
    std::vector<std::pair<int, std::string>> events;
    std::istringstream lines(whole ? csv : "");
    for (std::string line; std::getline(lines, line);) {
        if (line.find("_c, ") != std::string::npos) {
            events.emplace_back(std::stoi(line.substr(3)), line.substr(line.find(", ", 3) + 2));
        }
    }
    return events;
}

class ProgramTest : public testing::Test {
protected:
    ProgramTest() { FreshFolders(); }
    ~ProgramTest() override { fs::remove_all(folder); }

    // A fresh copy of the program with its name list, and "home" in its folder, the current one, where names lead.
    void FreshFolders()
    {
        fs::remove_all(folder);
        fs::create_directories(home);
        fs::current_path(home);
        fs::copy_file(TAVO_EXECUTABLE, folder / "tavo");
        fs::copy_file(fs::path(TAVO_EXECUTABLE).parent_path() / "olist.txt", list);
    }
    // Starts the program on the X server; `environment` may take $DISPLAY away.
    void Launch(const std::vector<std::string>& args, std::vector<std::string> environment, const fs::path& executable)
    {
        environment.insert(environment.begin(), { "DISPLAY=" + display, "QT_QPA_PLATFORM=xcb" });
        tavo = std::make_unique<ChildProcess>(executable, args, environment);
    }
    // Starts the program on the X server, and returns once its window shows.
    void Start(const std::vector<std::string>& args, const std::vector<std::string>& environment = {},
        const fs::path& executable = TAVO_EXECUTABLE)
    {
        Launch(args, environment, executable);
        window.clear();
        for (int attempt = 0; attempt < 3 && window.empty(); ++attempt) {
            window = Xdo(display, { "search", "--sync", "--onlyvisible", "--name", "^Tavo$" }).value_or("");
        }
        window = window.substr(0, window.find('\n'));
        ASSERT_FALSE(window.empty()) << "no window; stderr: " << tavo->Stderr();
    }
    void Xdotool(const std::vector<std::string>& args) { ASSERT_TRUE(Xdo(display, args)); }
    // What a window manager's close box does: sends WM_DELETE_WINDOW.
    void CloseWindow()
    {
        Display* x = XOpenDisplay(display.c_str());
        const Atom protocol = XInternAtom(x, "WM_PROTOCOLS", False);
        const auto close = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
        XEvent event { .xclient = { ClientMessage, 0, 0, x, std::stoul(window), protocol, 32, { .l = { close } } } };
        XSendEvent(x, event.xclient.window, False, NoEventMask, &event);
        XCloseDisplay(x);
    }

    const fs::path folder = fs::path(testing::TempDir()) / ("tavo-program-" + std::to_string(getpid()));
    const fs::path list = folder / "olist.txt";
    const fs::path home = folder / "home";
    const fs::path take = home / "take.wav";
    const fs::path midiTake = home / "take.mid";
    XvfbServer xvfb;
    std::string display = xvfb.DisplayName();
    std::unique_ptr<JackServer> jack = std::make_unique<JackServer>();
    std::unique_ptr<MidiDump> receiver = std::make_unique<MidiDump>();
    std::unique_ptr<ChildProcess> tavo;
    std::string window;
};

// The take, named from the test's folder and not the program's, holds what xdotool played,
// at the times it played it (time 0 is the first message), and renders to A's pitch.
TEST_F(ProgramTest, MidiFileKeepsEveryMessageAtItsTime)
{
    Start({ "--midi-out", "tavo-dump", "--midi-file", "take.mid" });
    // --delay 0: without xdotool's own 12 ms after each key, the sleeps alone space the keys.
    Xdotool({ "keydown", "--delay", "0", "a", "sleep", "0.3", "keyup", "--delay", "0", "a", "sleep", "0.2", "keydown",
        "--delay", "0", "space", "sleep", "0.1", "keyup", "--delay", "0", "space" });
    ASSERT_EQ(receiver->WaitForMessages(3).size(), 3u);
    CloseWindow();
    EXPECT_EQ(tavo->WaitForExit(20s), 0) << tavo->Stderr();
    const auto events = TakeEvents(midiTake);
    ASSERT_EQ(events.size(), 3u) << ToolOutput("midicsv", { midiTake }).value_or("");
    const std::pair<int, const char*> expected[]
        = { { 0, "Note_on_c, 0, 60, 127" }, { 300, "Note_on_c, 0, 60, 0" }, { 500, "Program_c, 0, " } };
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_NEAR(events[i].first, expected[i].first, 15) << events[i].second;
        EXPECT_EQ(events[i].second.rfind(expected[i].second, 0), 0u) << events[i].second;
    }
    ASSERT_TRUE(ToolOutput("fluidsynth", { "-ni", "-F", take, kSoundfont, midiTake }));
    EXPECT_NEAR(MedianPitch(take, 0.05, 0.25), kMiddleCHertz, 8.0);
}

// Every way out with A held, one a row: the receiver hears the release (unless its server is frozen), and the program
// ends as the row says, telling why in at most one line. With --virtual-port the receiver connects to Tavo's port.
TEST_F(ProgramTest, EveryWayOutReleasesAHeldKey)
{
    const rlimit noCore { 0, 0 }; // SIGQUIT's core dump is expected, not wanted
    setrlimit(RLIMIT_CORE, &noCore);
    // SIGSTOP or SIGCONT to the private server's jackd: a frozen server and its thaw.
    const auto signalJackd = [&](const std::string& signal) {
        ToolOutput("pkill", { "-" + signal, "-f", "^jackd -n " + jack->Name() + " " });
    };
    const auto signal = [&](int number) { return [&, number] { tavo->Signal(number); }; };
    struct Row {
        std::string name;
        std::function<void()> leave;
        std::optional<int> exitCode; // nothing: ended by the signal
        std::string says = ""; // how its one line starts; no line when empty
        bool heard = true; // the release reaches the receiver
        bool virtualPort = false;
        std::function<void()> after = [] {};
        std::size_t kept = 2; // channel messages in the --midi-file take
    } const rows[] = {
        { "window closed", [&] { CloseWindow(); }, 0 },
        { "SIGTERM, virtual port", signal(SIGTERM), 0, "", true, true },
        { "SIGHUP", signal(SIGHUP), 0 },
        { "SIGQUIT", signal(SIGQUIT), std::nullopt },
        { "frozen JACK server, then SIGTERM", [&] { signalJackd("STOP"), tavo->Signal(SIGTERM); }, 1,
            "tavo: the MIDI output did not close within 2 s", false, false,
            [&] { signalJackd("CONT"), jack = std::make_unique<JackServer>(); } },
        // A take saved a second after the key, and not again: the killed program leaves it.
        { "SIGKILL 2 s after the key", [&] { std::this_thread::sleep_for(2s), tavo->Signal(SIGKILL); }, std::nullopt,
            "", false, false, [] {}, 1 },
        { "X server dies (last: it does not come back)", [&] { xvfb.Kill(); }, 1,
            "tavo: the connection to the X server broke" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        receiver = std::make_unique<MidiDump>();
        fs::remove(midiTake);
        Start({ row.virtualPort ? "--virtual-port" : "--midi-out=tavo-dump", "--midi-file", midiTake });
        if (row.virtualPort) {
            EXPECT_NE(tavo->Stderr().find("tavo: playing on the JACK MIDI port Tavo:Tavo\n"), std::string::npos);
            ASSERT_TRUE(receiver->Connect("Tavo:Tavo"));
        }
        Xdotool({ "keydown", "a" });
        EXPECT_EQ(receiver->WaitForMessages(1), std::vector<Message> { kMiddleCOn });
        const std::size_t toldBefore = tavo->Stderr().size();
        row.leave();
        // Closing the output gets 2 s: more than 6 s means nothing bounds it.
        EXPECT_EQ(tavo->WaitForExit(row.heard ? 20s : 6s), row.exitCode) << tavo->Stderr();
        EXPECT_EQ(kill(tavo->Pid(), 0), -1) << "still running";
        const std::string told = tavo->Stderr().substr(toldBefore);
        EXPECT_EQ(told.rfind(row.says, 0), 0u) << told;
        EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), row.says.empty() ? 0 : 1) << told;
        if (row.heard) {
            EXPECT_EQ(receiver->WaitForMessages(2), kMiddleCTapped);
        }
        EXPECT_EQ(TakeEvents(midiTake).size(), row.kept);
        row.after();
        Xdo(display, { "keyup", "a" });
    }
}

// Hostile conditions, one a row: the program starts, plays, says what went wrong in one
// "tavo: " line and exits 0 once its window is closed; or it exits by itself before its
// window opens, with the row's code, and says why. A take it refuses is left as it was.
TEST_F(ProgramTest, HostileConditionsLeaveTheProgramRunning)
{
    std::optional<MidiDump> hostilePort;
    const std::string refused = "tavo: refusing to write the ";
    const auto stopJackAndPlay = [&] { jack->Stop(), Xdotool({ "key", "a" }); };
    // Servers of a session's own, found only by the environment their clients get.
    std::list<ChildProcess> servers;
    std::optional<ChildProcess> recorder;
    const fs::path sounds = folder / "sound", monitor = folder / "monitor.wav";
    const std::vector<std::string> onWeston { "XDG_RUNTIME_DIR=" + (folder / "weston").string() },
        onSoundServer { "XDG_RUNTIME_DIR=" + sounds.string(), "HOME=" + sounds.string(),
            "DBUS_SESSION_BUS_ADDRESS=unix:path=" + (sounds / "bus").string() };
    const auto startWeston = [&] {
        mkdir((folder / "weston").c_str(), 0700); // a runtime folder is its user's alone
        const ChildProcess& weston = servers.emplace_back(
            "weston", std::vector<std::string> { "--backend=headless-backend.so", "--xwayland" }, onWeston);
        const std::string listening = "xserver listening on display ";
        ASSERT_TRUE(Eventually([&] { return weston.Stderr().find(listening) != std::string::npos; }, 10s));
        std::istringstream(weston.Stderr().substr(weston.Stderr().find(listening) + listening.size())) >> display;
    };
    // The daemons of a sound server, then a null sink, whose monitor is recorded: a fresh one keeps its first,
    // long latency until the recorder's first frames reach the file.
    const auto recordSoundServer = [&](std::vector<std::string> daemons) {
        return [&, daemons] {
            mkdir(sounds.c_str(), 0700);
            for (const std::string& daemon : daemons) {
                servers.emplace_back("sh", std::vector<std::string> { "-c", "exec " + daemon }, onSoundServer);
            }
            const std::vector<std::string> nullSink { "load-module", "module-null-sink", "sink_name=tavo" };
            Eventually([&] { return ToolOutput("pactl", nullSink, onSoundServer).has_value(); });
            recorder.emplace("parecord",
                std::vector<std::string> { "--latency-msec=20", "-d", "tavo.monitor", monitor }, onSoundServer);
            Eventually([&] { return fs::exists(monitor) && fs::file_size(monitor) > 44; });
        };
    };
    const auto heardA = [&] {
        recorder.reset(), servers.clear();
        EXPECT_NEAR(MedianPitch(monitor, 0, 1e3), kMiddleCHertz, 8.0);
    };
    const auto unchanged = [](fs::path file, fs::path copy) {
        return [=] { EXPECT_TRUE(ToolOutput("cmp", { file, copy })); };
    };
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> environment;
        std::string says; // in its output; when it runs, in its one "tavo: " line, or no such line when empty
        std::optional<int> exitsAlone = {}; // before its window opens, with this code
        std::function<void()> setup = [] {}; // once the folders are there
        std::function<void()> check = [] {}; // once it has exited
        bool hears = false; // the receiver, named by --midi-out, hears key A
        std::function<void()> whilePlaying = [] {};
    } const rows[] = {
        { { "--soundfont", "missing.sf2" }, {}, "tavo: the built-in synthesizer has no soundfont" },
        { { "--soundfont", "cut.sf2" }, {}, "soundfont", {},
            [&] { fs::copy_file(kSoundfont, "cut.sf2"), fs::resize_file("cut.sf2", 64 * 1024); } },
        // libjack starts the server $HOME/.jackdrc names, here a mark, for a client that does not forbid it.
        { { "--audio-driver", "jack" }, { "JACK_DEFAULT_SERVER=tavo-no-such-server", "HOME=" + home.string() },
            "tavo: no audio output could start (tried jack", {},
            [&] { std::ofstream(".jackdrc") << "/usr/bin/touch " << (home / "started").string() << '\n'; },
            [&] { EXPECT_FALSE(fs::exists(home / "started")) << "a JACK server was started"; } },
        { { "--audio-file", "/nonexistent/take.wav" }, {}, "tavo: cannot write audio to /nonexistent/take.wav" },
        { { "--midi-out", "tavo-dump" }, {}, "tavo: no instrument names: cannot read olist.txt", {},
            [&] { fs::remove(list); }, [] {}, true },
        { { "--midi-out", "tavo-dump" }, {}, "lost its JACK server", {}, [] {}, [] {}, true, stopJackAndPlay },
        { { "--midi-out", "tavo-dump" }, { "LD_PRELOAD=" NO_XINPUT_SHIM }, "tavo: the X server has no XInput extension",
            {}, [] {}, [] {}, true },
        // Named from the folder Tavo started in, in bytes that are not UTF-8: the take sounds
        // there, and nothing is added beside the program.
        { { "--soundfont", "\xe9.sf2", "--audio-file", "\xe9.wav" }, {}, "", {},
            [&] { fs::copy_file(kSoundfont, "\xe9.sf2"); },
            [&] {
                EXPECT_NEAR(MedianPitch(home / "\xe9.wav", 0, 1e3), kMiddleCHertz, 8.0);
                EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 3) << "olist.txt, tavo, home";
            } },
        { { "--audio-file", take }, { "DISPLAY=" }, "tavo: cannot open the display", 1, [] {},
            [&] { EXPECT_FALSE(fs::exists(take)); } },
        // With no ALSA configuration the sequencer cannot open, /dev/snd/seq or not.
        { { "--virtual-port", "Keys" }, { "JACK_DEFAULT_SERVER=tavo-no-such-server", "ALSA_CONFIG_PATH=/nonexistent" },
            "tavo: cannot open the MIDI port \"Keys\": no JACK server is running and the ALSA sequencer cannot be", 1 },
        { { "--list-midi-outputs" }, { "JACK_DEFAULT_SERVER=tavo-no-such-server" },
            "0: Tavo built-in synthesizer (FluidSynth)\n", 0, [] {}, [&] { EXPECT_EQ(tavo->Stderr(), ""); } },
        { { "--midi-out", "nothing" }, {}, "0: Tavo built-in", 2 },
        { { "--midi-out", "nothing" }, { "DISPLAY=" }, "tavo: no MIDI output matches", 2 },
        { { "--audio-file", take, "--midi-file", midiTake }, {},
            refused + "MIDI take to " + midiTake.string() + ": it is the --audio-file take", 2,
            [&] { fs::copy_file(list, take), fs::create_symlink(take, midiTake); }, unchanged(take, list) },
        { { "--midi-file", "/nonexistent/take.mid" }, {},
            "tavo: cannot write the MIDI take to /nonexistent/take.mid: No such file", 2 },
        { { "--audio-file", take }, {}, refused + "audio take", 2, [&] { ToolOutput("mkfifo", { take }); } },
        { { "--audio-file", take }, {}, refused + "audio take to " + take.string() + ": it is the instrument name list",
            2, [&] { fs::create_symlink(list, take); } },
        { { "--midi-file", midiTake }, {},
            refused + "MIDI take to " + midiTake.string() + ": it is the tavo executable", 2,
            [&] { fs::create_symlink(folder / "tavo", midiTake); } },
        { { "--soundfont", "my.sf2", "--audio-file", "link.wav" }, {},
            refused + "audio take to " + (home / "link.wav").string() + ": it is a soundfont of the built-in", 2,
            [&] { fs::copy_file(kSoundfont, "my.sf2"), fs::create_symlink("my.sf2", "link.wav"); },
            unchanged("my.sf2", kSoundfont) },
        // XWayland shows Tavo the keys only while its window has the focus, which it says once.
        { { "--midi-out", "tavo-dump" }, onWeston,
            "tavo: this X server is XWayland, which shows Tavo the keyboard only while a Tavo window has the focus; "
            "log in to an X11 session to play from any window",
            {}, startWeston, [&] { servers.clear(), display = xvfb.DisplayName(); } },
        // With no --midi-out and no --audio-driver, A sounds on PulseAudio, or PipeWire's server, while JACK runs.
        { {}, onSoundServer, "", {},
            recordSoundServer({ "pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-native-protocol-unix" }),
            heardA },
        { {}, onSoundServer, "", {},
            recordSoundServer({ "dbus-daemon --session --nofork --address=unix:path=" + (sounds / "bus").string(),
                "pipewire", "wireplumber", "pipewire-pulse" }),
            heardA },
        { { "--list-midi-outputs" }, {}, "evil\\x1b]0;title\\x07\\x1b[2J:input", 0,
            [&] { hostilePort.emplace("evil\x1b]0;title\x07\x1b[2J"); },
            [&] { EXPECT_EQ(tavo->Stdout().find('\x1b'), std::string::npos), hostilePort.reset(); } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args) + testing::PrintToString(row.environment) + row.says);
        FreshFolders();
        row.setup();
        if (!jack->IsReady()) {
            jack = std::make_unique<JackServer>();
        }
        receiver = std::make_unique<MidiDump>();
        if (row.exitsAlone) {
            Launch(row.args, row.environment, folder / "tavo");
            EXPECT_EQ(tavo->WaitForExit(20s), row.exitsAlone);
            EXPECT_NE((tavo->Stdout() + tavo->Stderr()).find(row.says), std::string::npos) << tavo->Stderr();
            row.check();
            continue;
        }
        Start(row.args, row.environment, folder / "tavo");
        // Held for a few ticks: without XInput a tap between two polls is lost.
        Xdotool({ "keydown", "a", "sleep", "0.1", "keyup", "a" });
        if (row.hears) {
            EXPECT_EQ(receiver->WaitForMessages(2), kMiddleCTapped);
        }
        row.whilePlaying();
        EXPECT_EQ(tavo->WaitForExit(300ms), std::nullopt) << "stopped by itself";
        CloseWindow();
        EXPECT_EQ(tavo->WaitForExit(20s), 0);
        const std::string told = "\n" + tavo->Stderr();
        const std::size_t first = told.find("\ntavo: ");
        EXPECT_EQ(first == std::string::npos, row.says.empty()) << told;
        EXPECT_EQ(told.find("\ntavo: ", first + 1), std::string::npos) << told;
        EXPECT_NE(told.find(row.says), std::string::npos);
        row.check();
    }
}

}
