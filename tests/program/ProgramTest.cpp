// The real program on a private X server, playing into a private JACK server's receiver,
// typed on and clicked with xdotool as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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
const Message kMiddleCOff { 0x90, 0x3C, 0x00 };
const fs::path kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The frames in an audio file as its header declares them, which is what readers trust.
long AudioFrames(const fs::path& path)
{
    return std::stol(ToolOutput("soxi", { "-s", path }).value_or("0"));
}

// The channel messages of a --midi-file take as midicsv reads it ("Note_on_c, 0, 60, 127;"),
// each after its time in ms; none unless midicsv reads a whole format 0 file at 1 ms a tick.
std::vector<std::pair<int, std::string>> TakeEvents(const fs::path& take)
{
    const auto csv = ToolOutput("midicsv", { take });
    std::vector<std::pair<int, std::string>> events;
    if (!csv || csv->rfind("0, 0, Header, 0, 1, 1000\n1, 0, Start_track\n1, 0, Tempo, 1000000\n", 0) != 0
        || csv->find("End_track\n0, 0, End_of_file") == std::string::npos) {
        return events;
    }
    std::istringstream lines(*csv);
    for (std::string line; std::getline(lines, line);) {
        int time = 0;
        char event[64] {};
        if (std::sscanf(line.c_str(), "1, %d, %63[^\n]", &time, event) == 2 && std::strstr(event, "_c, ")) {
            events.emplace_back(time, std::string(event) + ";");
        }
    }
    return events;
}

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

// The take, named from the test's folder and not the program's, holds what xdotool played,
// at the times it played it (time 0 is the first message), and renders to A's pitch.
TEST_F(ProgramTest, MidiFileKeepsEveryMessageAtItsTime)
{
    const fs::path take = folder / "take.mid";
    Start({ "--midi-out", "tavo-dump", "--midi-file", fs::relative(take) });
    // --delay 0: without xdotool's own 12 ms after each key, the sleeps alone space the keys.
    Xdotool({ "keydown", "--delay", "0", "a", "sleep", "0.3", "keyup", "--delay", "0", "a", "sleep", "0.2", "keydown",
        "--delay", "0", "space", "sleep", "0.1", "keyup", "--delay", "0", "space", "sleep", "0.1", "keydown", "--delay",
        "0", "s", "sleep", "0.1", "keyup", "--delay", "0", "s" });
    ASSERT_EQ(receiver->WaitForMessages(5).size(), 5u);
    CloseWindow();
    EXPECT_EQ(tavo->WaitForExit(20s), 0) << tavo->Stderr();
    const auto events = TakeEvents(take);
    ASSERT_EQ(events.size(), 5u) << ToolOutput("midicsv", { take }).value_or("");
    const std::pair<int, const char*> expected[] = { { 0, "Note_on_c, 0, 60, 127" }, { 300, "Note_on_c, 0, 60, 0" },
        { 500, "Program_c, 0, " }, { 700, "Note_on_c, 0, 62, 127" }, { 800, "Note_on_c, 0, 62, 0" } };
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_NEAR(events[i].first, expected[i].first, 15) << events[i].second;
        EXPECT_EQ(events[i].second.rfind(expected[i].second, 0), 0u) << events[i].second;
    }
    const fs::path wav = folder / "take.wav";
    ASSERT_TRUE(ToolOutput("fluidsynth", { "-ni", "-F", wav, kSoundfont, take }));
    std::istringstream pitches(ToolOutput("aubiopitch", { "-i", wav }).value_or(""));
    std::vector<double> heard;
    for (double time = 0, hertz = 0; pitches >> time >> hertz;) {
        if (time > 0.05 && time < 0.25) {
            heard.push_back(hertz);
        }
    }
    ASSERT_FALSE(heard.empty());
    std::nth_element(heard.begin(), heard.begin() + heard.size() / 2, heard.end());
    EXPECT_NEAR(heard[heard.size() / 2], 261.6, 8.0);
}

// The channel list is opened and channel 10 chosen with clicks; then space, Tab and A reach
// the keyboard alone: Tab moves no focus, so no later space opens a list over the keys. A
// click on key 0, below the menu and the bars, draws an instrument and plays middle C.
TEST_F(ProgramTest, ChannelChosenWithClicksLeavesSpaceAndLettersToTheKeyboard)
{
    Start({ "--midi-out", "tavo-dump" });
    const auto windows = [this] {
        std::istringstream ids(
            Xdo(xvfb.DisplayName(), { "search", "--onlyvisible", "--classname", "tavo" }).value_or(""));
        return std::vector<std::string> { std::istream_iterator<std::string>(ids), {} };
    };
    // The list sits right of the toolbar, in the row below the menu bar.
    Xdotool({ "mousemove", "250", "34", "click", "1", "sleep", "0.5" });
    ASSERT_EQ(windows().size(), 2U) << "the channel list did not open";
    const std::string geometry
        = Xdo(xvfb.DisplayName(), { "getwindowgeometry", "--shell", windows().back() }).value_or("");
    int x = 0, y = 0, width = 0, height = 0;
    ASSERT_EQ(std::sscanf(geometry.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &x, &y, &width, &height), 4);
    // Sixteen items of one height fill the list: the middle of the tenth.
    Xdotool({ "mousemove", std::to_string(x + width / 2), std::to_string(y + height * 19 / 32), "click", "1", "sleep",
        "0.3" });
    Xdotool({ "key", "--delay", "200", "space", "Tab", "space", "shift+Tab", "space", "a", "sleep", "0.5" });
    Xdotool({ "mousemove", "--window", window, "25", "250", "click", "1", "sleep", "0.3" });
    const auto messages = receiver->WaitForMessages(9, 2s);
    ASSERT_EQ(messages.size(), 8U);
    for (int program : { 0, 1, 2, 5 }) {
        EXPECT_EQ(messages[program].at(0), 0xC0);
    }
    for (int on : { 3, 6 }) {
        EXPECT_EQ(std::vector(messages.begin() + on, messages.begin() + on + 2),
            (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
    }
    EXPECT_EQ(windows().size(), 1U) << "a list is open over the keys";
}

// Every way out with A held, one a row: the receiver hears the release (unless its server
// is frozen), and the program ends as the row says, telling why in at most one line. With
// --virtual-port the receiver connects to the port Tavo names.
TEST_F(ProgramTest, EveryWayOutReleasesAHeldKey)
{
    const rlimit noCore { 0, 0 }; // SIGQUIT's core dump is expected, not wanted
    setrlimit(RLIMIT_CORE, &noCore);
    // SIGSTOP or SIGCONT to the private server's jackd: a frozen server and its thaw.
    const auto signalJackd = [&](const std::string& signal) {
        ToolOutput("pkill", { "-" + signal, "-f", "^jackd -n " + jack->Name() + " " });
    };
    struct Row {
        std::string name;
        std::function<void()> leave;
        std::optional<int> exitCode; // nothing: ended by the signal
        std::string says = ""; // how its one line starts; no line when empty
        bool heard = true; // the release reaches the receiver
        std::function<void()> after = [] {};
        bool virtualPort = false;
        std::string kept = "Note_on_c, 0, 60, 127;Note_on_c, 0, 60, 0;"; // by the --midi-file take
    } const rows[] = {
        { .name = "window closed", .leave = [&] { CloseWindow(); }, .exitCode = 0 },
        { .name = "SIGTERM", .leave = [&] { tavo->Signal(SIGTERM); }, .exitCode = 0 },
        { .name = "SIGTERM, virtual port",
            .leave = [&] { tavo->Signal(SIGTERM); },
            .exitCode = 0,
            .virtualPort = true },
        { .name = "SIGHUP", .leave = [&] { tavo->Signal(SIGHUP); }, .exitCode = 0 },
        { .name = "SIGQUIT", .leave = [&] { tavo->Signal(SIGQUIT); }, .exitCode = std::nullopt },
        { .name = "frozen JACK server, then SIGTERM",
            .leave = [&] { signalJackd("STOP"), tavo->Signal(SIGTERM); },
            .exitCode = 1,
            .says = "tavo: the MIDI output did not close within 2 s",
            .heard = false,
            .after = [&] { signalJackd("CONT"), jack = std::make_unique<JackServer>(); } },
        // A take saved a second after the key, and not again: the killed program leaves it.
        { .name = "SIGKILL 2 s after the key",
            .leave = [&] { std::this_thread::sleep_for(2s), tavo->Signal(SIGKILL); },
            .exitCode = std::nullopt,
            .heard = false,
            .kept = "Note_on_c, 0, 60, 127;" },
        { .name = "X server dies (last: it does not come back)",
            .leave = [&] { xvfb.Kill(); },
            .exitCode = 1,
            .says = "tavo: the connection to the X server broke" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        receiver = std::make_unique<MidiDump>();
        fs::remove(folder / "take.mid");
        Start({ row.virtualPort ? "--virtual-port" : "--midi-out=tavo-dump", "--midi-file", folder / "take.mid" });
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
            EXPECT_EQ(receiver->WaitForMessages(2), (std::vector<Message> { kMiddleCOn, kMiddleCOff }));
        }
        std::string kept;
        for (const auto& [time, event] : TakeEvents(folder / "take.mid")) {
            kept += event;
        }
        EXPECT_EQ(kept, row.kept);
        row.after();
        Xdo(xvfb.DisplayName(), { "keyup", "a" });
    }
}

TEST_F(ProgramTest, TakeIsReadableAfterTheXServerDies)
{
    Start({ "--audio-file", folder / "take.wav" });
    std::this_thread::sleep_for(300ms);
    xvfb.Kill();
    EXPECT_EQ(tavo->WaitForExit(20s), 1) << tavo->Stderr();
    EXPECT_GT(AudioFrames(folder / "take.wav"), 0);
}

// Hostile conditions, one a row: the program starts, plays when the receiver can hear it,
// says what went wrong in one "tavo: " line and exits 0 once its window is closed, or it
// exits by itself before its window opens, with the row's code. Each row runs a copy of
// the program in a folder of its own, where the name list is looked for.
TEST_F(ProgramTest, HostileConditionsLeaveTheProgramRunning)
{
    const fs::path list = folder / "olist.txt";
    const fs::path truncated = folder / "truncated.sf2";
    const fs::path soundfont = folder / "own.sf2";
    const fs::path take = folder / "take.wav";
    const fs::path midiTake = folder / "take.mid";
    std::optional<MidiDump> hostilePort;
    struct Row {
        std::string name;
        std::vector<std::string> args = {};
        std::vector<std::string> environment = {};
        std::function<void()> setup = [] {}; // once the folder is there
        std::string says = ""; // in its "tavo: " line; no such line when empty
        bool plays = false; // key A, on the receiver, which is added as --midi-out
        std::function<void()> whilePlaying = [] {};
        std::optional<int> exitsAlone = {}; // with this code; `says` is in its output
        std::function<void()> check = [] {}; // once it has exited
    };
    std::vector<Row> rows = {
        { .name = "missing soundfont",
            .args = { "--soundfont", folder / "missing.sf2" },
            .says = "tavo: the built-in synthesizer has no soundfont" },
        { .name = "truncated soundfont",
            .args = { "--soundfont", truncated },
            .setup = [&] { fs::copy_file(kSoundfont, truncated), fs::resize_file(truncated, 64 * 1024); },
            .says = "soundfont" },
        { .name = "no audio driver",
            .args = { "--audio-driver", "jack" },
            .environment = { "JACK_DEFAULT_SERVER=tavo-no-such-server" },
            .says = "tavo: no audio output could start (tried jack" },
        { .name = "audio file in a missing folder",
            .args = { "--audio-file", "/nonexistent/take.wav" },
            .says = "tavo: cannot write audio to /nonexistent/take.wav" },
        { .name = "no name list",
            .setup = [&] { fs::remove(list); },
            .says = "tavo: no instrument names: cannot read olist.txt",
            .plays = true },
        { .name = "name list binary",
            .setup = [&] { fs::copy_file(TAVO_EXECUTABLE, list, fs::copy_options::overwrite_existing); },
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
        { .name = "no display",
            .args = { "--audio-file", take },
            .environment = { "DISPLAY=" },
            .says = "tavo: cannot open the display",
            .exitsAlone = 1,
            .check = [&] { EXPECT_FALSE(fs::exists(take)); } },
        // With no ALSA configuration the sequencer cannot open, /dev/snd/seq or not.
        { .name = "virtual port without JACK or ALSA sequencer",
            .args = { "--virtual-port", "Keys" },
            .environment = { "JACK_DEFAULT_SERVER=tavo-no-such-server", "ALSA_CONFIG_PATH=/nonexistent" },
            .says
            = "tavo: cannot open the MIDI port \"Keys\": no JACK server is running and the ALSA sequencer cannot be",
            .exitsAlone = 1 },
        { .name = "output list without a JACK server",
            .args = { "--list-midi-outputs" },
            .environment = { "JACK_DEFAULT_SERVER=tavo-no-such-server" },
            .says = "0: Tavo built-in synthesizer (FluidSynth)\n",
            .exitsAlone = 0,
            .check = [&] { EXPECT_EQ(tavo->Stderr(), ""); } },
        { .name = "unmatched output",
            .args = { "--midi-out", "nothing" },
            .says = "0: Tavo built-in",
            .exitsAlone = 2 },
        { .name = "unmatched output and no display",
            .args = { "--midi-out", "nothing" },
            .environment = { "DISPLAY=" },
            .says = "tavo: no MIDI output matches",
            .exitsAlone = 2 },
        { .name = "MIDI take is the audio take",
            .args = { "--audio-file", take, "--midi-file", midiTake },
            .setup = [&] { std::ofstream(take) << "take", fs::create_symlink(take, midiTake); },
            .says = "tavo: refusing to write the MIDI take to " + midiTake.string() + ": it is the --audio-file take",
            .exitsAlone = 2,
            .check = [&] { EXPECT_EQ(ToolOutput("cat", { take }), "take"); } },
        { .name = "MIDI take in a folder that cannot be written",
            .args = { "--midi-file", "/nonexistent/take.mid" },
            .says = "tavo: cannot write the MIDI take to /nonexistent/take.mid: No such file",
            .exitsAlone = 2 },
        { .name = "take is a FIFO",
            .args = { "--audio-file", folder / "take.wav" },
            .setup = [&] { mkfifo((folder / "take.wav").c_str(), 0600); },
            .says = "tavo: refusing to write the audio take",
            .exitsAlone = 2 },
        { .name = "file names that are not UTF-8",
            .args = { "--soundfont", folder / "\xe9.sf2", "--audio-file", folder / "\xe9.wav" },
            .setup = [&] { fs::copy_file(kSoundfont, folder / "\xe9.sf2"); },
            .check = [&] { EXPECT_GT(AudioFrames(folder / "\xe9.wav"), 0); } },
        // Files are named from where Tavo started, not from the folder it then moves to: the
        // take is only written once the soundfont has loaded.
        { .name = "relative take and soundfont names",
            .args = { "--audio-file", "take.wav", "--soundfont", "font.sf2" },
            .setup =
                [&] {
                    fs::create_directory(folder / "started");
                    fs::copy_file(kSoundfont, folder / "started" / "font.sf2");
                    fs::current_path(folder / "started");
                },
            .check =
                [&, testFolder = fs::current_path()] {
                    fs::current_path(testFolder);
                    EXPECT_GT(AudioFrames(folder / "started" / "take.wav"), 0);
                    EXPECT_FALSE(fs::exists(take));
                } },
        { .name = "port name with escape sequences",
            .args = { "--list-midi-outputs" },
            .setup = [&] { hostilePort.emplace("evil\x1b]0;title\x07\x1b[2J"); },
            .says = "evil\\x1b]0;title\\x07\\x1b[2J:input",
            .exitsAlone = 0,
            .check =
                [&] {
                    EXPECT_EQ(tavo->Stdout().find('\x1b'), std::string::npos);
                    hostilePort.reset();
                } },
    };
    // A take linked to one of the program's own files, which is left as it was.
    for (const auto& [flag, kind, name] :
        { std::tuple { "--audio-file", "audio take", take }, std::tuple { "--midi-file", "MIDI take", midiTake } }) {
        for (const auto& [own, what] : { std::pair { soundfont, "a soundfont of the built-in synthesizer" },
                 std::pair { list, "the instrument name list" },
                 std::pair { folder / "tavo", "the tavo executable" } }) {
            rows.push_back({ .name = std::string(kind) + " is " + what,
                .args = { "--soundfont", soundfont, flag, name },
                .setup =
                    [&, own = own, name = name] {
                        fs::copy_file(kSoundfont, soundfont), fs::copy_file(own, folder / "before");
                        fs::create_symlink(own, name);
                    },
                .says = "tavo: refusing to write the " + std::string(kind) + " to " + name.string() + ": it is " + what,
                .exitsAlone = 2,
                .check =
                    [&, own = own] {
                        EXPECT_TRUE(ToolOutput("cmp", { own, folder / "before" }));
                    } });
        }
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(TAVO_EXECUTABLE, folder / "tavo");
        fs::copy_file(fs::path(TAVO_EXECUTABLE).parent_path() / "olist.txt", list);
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
            std::vector<std::string> environment = { "DISPLAY=" + xvfb.DisplayName() };
            environment.insert(environment.end(), row.environment.begin(), row.environment.end());
            tavo = std::make_unique<ChildProcess>(folder / "tavo", args, environment);
            EXPECT_EQ(tavo->WaitForExit(20s), row.exitsAlone);
            EXPECT_NE((tavo->Stdout() + tavo->Stderr()).find(row.says), std::string::npos) << tavo->Stderr();
            row.check();
            continue;
        }
        Start(args, row.environment, folder / "tavo");
        if (row.plays) {
            // Held for a few ticks: without XInput a tap between two polls is lost.
            Xdotool({ "keydown", "a", "sleep", "0.1", "keyup", "a" });
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
        row.check();
    }
}

// With no --midi-out and no --audio-driver, the built-in synthesizer plays on the desktop's
// sound server even while a JACK server runs: A sounds at its pitch on the sink's monitor.
// The private PulseAudio server and its clients find each other only by the environment
// they are started with, and a bus that does not exist keeps it off the session's.
TEST_F(ProgramTest, DefaultDeviceSoundsOnTheDesktopSoundServer)
{
    const fs::path runtime = folder / "pulse", wav = folder / "monitor.wav";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const std::vector<std::string> environment { "XDG_RUNTIME_DIR=" + runtime.string(), "HOME=" + runtime.string(),
        "PULSE_RUNTIME_PATH=" + (runtime / "pulse").string(),
        "DBUS_SESSION_BUS_ADDRESS=unix:path=" + (runtime / "no-bus").string() };
    const ChildProcess server("pulseaudio",
        { "-n", "--daemonize=no", "--exit-idle-time=-1", "-L", "module-native-protocol-unix", "-L",
            "module-null-sink sink_name=tavo" },
        environment);
    const auto waitFor = [](const std::function<bool()>& done) {
        for (int wait = 0; wait < 50 && !done(); ++wait) {
            std::this_thread::sleep_for(100ms);
        }
    };
    waitFor([&] { return ToolOutput("pactl", { "info" }, environment).has_value(); });
    auto recorder = std::make_unique<ChildProcess>(
        "parecord", std::vector<std::string> { "--latency-msec=20", "-d", "tavo.monitor", wav }, environment);
    // A fresh null sink keeps its first, long latency until the recorder's first frames reach
    // the file, past its 44 bytes of header.
    std::error_code error;
    waitFor([&] { return fs::exists(wav, error) && fs::file_size(wav, error) > 44; });
    Start({}, environment);
    Xdotool({ "keydown", "a", "sleep", "0.5", "keyup", "a", "sleep", "0.3" });
    recorder.reset();
    std::istringstream pitches(ToolOutput("aubiopitch", { "-s", "-50", "-i", wav }).value_or(""));
    std::vector<double> heard; // frames quieter than -50 dB read 0 Hz
    for (double time = 0, hertz = 0; pitches >> time >> hertz;) {
        if (hertz > 0) {
            heard.push_back(hertz);
        }
    }
    ASSERT_FALSE(heard.empty()) << tavo->Stderr();
    std::nth_element(heard.begin(), heard.begin() + heard.size() / 2, heard.end());
    EXPECT_NEAR(heard[heard.size() / 2], 261.6, 8.0);
}

}
