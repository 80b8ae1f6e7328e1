// The program as a user meets it, on a private Xvfb with a private JACK server
// (`jackd -d dummy -r 48000 -p 256`): the time from exec to the main window being mapped
// (and, with the default device, to the synthesizer's being ready to sound), and, once
// settled, the peak resident memory, the CPU time and the context switches of
// ten idle seconds. Tavo runs with its default device, with --midi-out to a JACK port,
// and with no audio output at all, with and without a --midi-file take; a bare Qt window
// with the same bars is the floor.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "Figures.h"
#include "JackPortWatch.h"
#include "ProcessUsage.h"
#include "WindowMapWatch.h"
#include "rig/ChildProcess.h"
#include "rig/JackRig.h"
#include "rig/XvfbServer.h"

namespace {

using namespace std::chrono_literals;

// Start-up times spread widely on a shared machine; the idle figures far less.
constexpr int kStartupRuns = 11;
constexpr int kIdleRuns = 5;
constexpr auto kMapAllowance = 30s;
constexpr auto kSettle = 3s;
constexpr auto kIdle = 10s;
// What the receiver's JACK client is called; --midi-out picks a port by any part of its name.
constexpr const char* kReceiverClient = "tavo-dump";

// What runs, the targets it is held against (empty for none) and what its runs measured.
// Each subject names only its own targets, the rest start empty.
struct Subject {
    std::string name {};
    std::string executable {};
    std::vector<std::string> args {};
    // A reference already running, measured at rest only: no start-up, no memory.
    pid_t runningPid = 0;
    // The prefix of the JACK port whose registration says the program is ready to sound.
    std::string readyPort {};
    std::string startupTarget {};
    std::string cpuTarget {};
    std::string switchesTarget {};
    std::string rssTarget {};
    std::vector<double> mapMs {};
    std::vector<double> readyMs {};
    std::vector<double> peakRssMb {};
    std::vector<double> idleCpuSeconds {};
    std::vector<double> switchesPerSecond {};
};

// Starts the subject and waits for its window; the milliseconds from exec to the map,
// or a negative number when no window came. `exec` receives the time of the exec.
double Launch(const Subject& subject, const std::string& display, std::unique_ptr<ChildProcess>& child,
    std::chrono::steady_clock::time_point* exec = nullptr)
{
    WindowMapWatch watch(display);
    const auto started = std::chrono::steady_clock::now();
    if (exec != nullptr) {
        *exec = started;
    }
    child = std::make_unique<ChildProcess>(
        subject.executable, subject.args, std::vector<std::string> { "DISPLAY=" + display, "QT_QPA_PLATFORM=xcb" });
    const auto mapped = watch.WaitForMap(kMapAllowance);
    if (!mapped) {
        std::fprintf(
            stderr, "bench_startup: %s never mapped a window\n%s", subject.name.c_str(), child->Stderr().c_str());
        return -1;
    }
    return std::chrono::duration<double, std::milli>(*mapped - started).count();
}

// The receiver's port is registered a moment after its program starts.
bool WaitForReceiverPort()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        ChildProcess ports("jack_lsp", {});
        ports.WaitForExit(5s);
        if (ports.Stdout().find(kReceiverClient) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

void Stop(ChildProcess& child)
{
    child.Signal(SIGTERM);
    child.WaitForExit(10s);
}

// Every subject started on its own, timed to its window, and stopped again.
bool TimeStartups(std::vector<Subject>& subjects, const std::string& display, bool firstRun)
{
    for (Subject& subject : subjects) {
        if (subject.runningPid != 0) {
            continue;
        }
        std::unique_ptr<ChildProcess> child;
        std::optional<JackPortWatch> readiness;
        if (!subject.readyPort.empty()) {
            readiness.emplace(subject.readyPort);
        }
        std::chrono::steady_clock::time_point exec;
        const double ms = Launch(subject, display, child, &exec);
        if (ms < 0) {
            return false;
        }
        subject.mapMs.push_back(ms);
        if (readiness) {
            const auto ready = readiness->WaitForPort(kMapAllowance);
            if (!ready) {
                std::fprintf(
                    stderr, "bench_startup: %s never registered %s\n", subject.name.c_str(), subject.readyPort.c_str());
                return false;
            }
            subject.readyMs.push_back(std::chrono::duration<double, std::milli>(*ready - exec).count());
        }
        Stop(*child);
        if (firstRun && !child->Stderr().empty()) {
            std::fprintf(stderr, "bench_startup: %s said:\n%s", subject.name.c_str(), child->Stderr().c_str());
        }
    }
    return true;
}

// Every subject started, then all of them left alone together over the same seconds.
bool MeasureIdle(std::vector<Subject>& subjects, const std::string& display)
{
    std::vector<std::unique_ptr<ChildProcess>> children(subjects.size());
    std::vector<pid_t> pids;
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        if (subjects[i].runningPid == 0 && Launch(subjects[i], display, children[i]) < 0) {
            return false;
        }
        pids.push_back(children[i] ? children[i]->Pid() : subjects[i].runningPid);
    }
    std::this_thread::sleep_for(kSettle);
    std::vector<ProcessUsage> before;
    for (const pid_t pid : pids) {
        before.push_back(ReadProcessUsage(pid));
    }
    std::this_thread::sleep_for(kIdle);
    const double seconds = std::chrono::duration<double>(kIdle).count();
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        const ProcessUsage after = ReadProcessUsage(pids[i]);
        subjects[i].peakRssMb.push_back(after.peakRssMegabytes);
        subjects[i].idleCpuSeconds.push_back(after.cpuSeconds - before[i].cpuSeconds);
        subjects[i].switchesPerSecond.push_back(
            static_cast<double>(after.contextSwitches - before[i].contextSwitches) / seconds);
        if (children[i]) {
            Stop(*children[i]);
        }
    }
    return true;
}

void PrintFigures(const std::vector<Subject>& subjects)
{
    const double floorMs = Percentile(subjects.front().mapMs, 0.5);
    const std::string runs = ", " + std::to_string(kStartupRuns) + " runs";
    for (const Subject& subject : subjects) {
        if (subject.runningPid != 0) {
            continue;
        }
        std::string value = FormatSpread(subject.mapMs, 0, "ms");
        if (&subject != &subjects.front()) {
            value += ", " + FormatValue(Percentile(subject.mapMs, 0.5) / floorMs, 2, "") + "× floor";
        }
        PrintFigure("exec to window mapped: " + subject.name + runs, value, subject.startupTarget);
        if (!subject.readyMs.empty()) {
            PrintFigure(
                "exec to synthesizer ready (" + subject.readyPort + " ports registered): " + subject.name + runs,
                FormatSpread(subject.readyMs, 0, "ms"), "");
        }
    }
    for (const Subject& subject : subjects) {
        if (subject.runningPid == 0) {
            PrintFigure(
                "peak RSS (VmHWM): " + subject.name, FormatSpread(subject.peakRssMb, 1, "MB"), subject.rssTarget);
        }
    }
    const std::string over = std::to_string(std::chrono::seconds(kIdle).count()) + " s";
    for (const Subject& subject : subjects) {
        PrintFigure("idle CPU (utime+stime) over " + over + ": " + subject.name,
            FormatSpread(subject.idleCpuSeconds, 2, "s"), subject.cpuTarget);
    }
    for (const Subject& subject : subjects) {
        PrintFigure("idle context switches per second, all threads: " + subject.name,
            FormatSpread(subject.switchesPerSecond, 1, "/s"), subject.switchesTarget);
    }
}

}

int main()
{
    XvfbServer xvfb("1024x768x24");
    JackServer jack(256);
    if (!jack.IsReady()) {
        std::fprintf(stderr, "bench_startup: the JACK server did not start\n");
        return 1;
    }
    MidiDump receiver;
    if (!WaitForReceiverPort()) {
        std::fprintf(stderr, "bench_startup: the JACK receiver's port never appeared\n");
        return 1;
    }
    const std::string midiTake = "/tmp/tavo-bench-" + std::to_string(getpid()) + ".mid";
    std::vector<Subject> subjects {
        { .name = "bare Qt window (floor)", .executable = BARE_WINDOW_EXECUTABLE },
        { .name = "default device (built-in synthesizer)",
            .executable = TAVO_EXECUTABLE,
            .readyPort = "fluidsynth:",
            .startupTarget = "≤ 1.3× floor" },
        { .name = "--midi-out to JACK",
            .executable = TAVO_EXECUTABLE,
            .args = { "--midi-out", kReceiverClient },
            .startupTarget = "≤ 1.2× floor",
            .cpuTarget = "≤ 0.06 s" },
        { .name = "no audio output (--audio-driver alsa, no sound card)",
            .executable = TAVO_EXECUTABLE,
            .args = { "--audio-driver", "alsa" },
            .cpuTarget = "≤ 0.01 s",
            .switchesTarget = "≤ 5 /s",
            .rssTarget = "≤ 60 MB" },
        // The MIDI take arms no timer of its own while nothing is played.
        { .name = "no audio output, --midi-file",
            .executable = TAVO_EXECUTABLE,
            .args = { "--audio-driver", "alsa", "--midi-file", midiTake },
            .cpuTarget = "≤ 0.01 s",
            .switchesTarget = "≤ 5 /s" },
        // What any JACK client's cycle costs at rest on this machine, for the --midi-out row.
        { .name = "the JACK receiver (jack_midi_dump), for reference", .runningPid = receiver.Pid() },
    };
    for (int run = 0; run < kStartupRuns; ++run) {
        if (!TimeStartups(subjects, xvfb.DisplayName(), run == 0)
            || (run < kIdleRuns && !MeasureIdle(subjects, xvfb.DisplayName()))) {
            return 1;
        }
    }
    PrintFigures(subjects);
    std::remove(midiTake.c_str());
    return 0;
}
