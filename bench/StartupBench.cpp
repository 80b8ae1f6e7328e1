// The program as a user meets it: how long from launch until its window is mapped, how
// much memory it holds once settled (the built-in synthesizer loaded, rendering into a
// file since the machine may have no sound card), and how much CPU it burns while
// nobody plays. Runs the real executable on a private Xvfb.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Figures.h"
#include "ProcessCpu.h"
#include "TavoUnderX.h"
#include "XvfbServer.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kLaunches = 7;
constexpr auto kSettle = 5s;
constexpr auto kIdleWindow = 10s;

struct Launch {
    std::unique_ptr<TopLevelWatcher> watcher;
    std::unique_ptr<TavoProcess> process;
    unsigned long window = 0;
    double millisecondsToMap = 0;
};

Launch LaunchTavo(const std::string& display, const std::vector<std::string>& args)
{
    Launch launch;
    launch.watcher = std::make_unique<TopLevelWatcher>(display);
    const auto start = Clock::now();
    launch.process = std::make_unique<TavoProcess>(TAVO_EXECUTABLE, args, display);
    launch.window = launch.watcher->WaitForMappedWindow(30s);
    launch.millisecondsToMap = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return launch;
}

void Close(Launch& launch)
{
    launch.watcher->RequestClose(launch.window);
    launch.process->WaitForExit(20s);
}

// A field of /proc/PID/status in kB, as megabytes.
double StatusMegabytes(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stod(line.substr(field.size() + 1)) / 1024.0;
        }
    }
    return 0;
}

}

int main()
{
    XvfbServer xvfb;
    const std::string audioFile = "/tmp/tavo-startup-bench-" + std::to_string(getpid()) + ".wav";
    const std::vector<std::string> args { "--audio-file", audioFile };

    std::vector<double> mapTimes;
    for (int i = 0; i < kLaunches; ++i) {
        Launch launch = LaunchTavo(xvfb.DisplayName(), args);
        if (launch.window == 0) {
            std::fprintf(stderr, "bench_startup: the window never appeared\n");
            return 1;
        }
        mapTimes.push_back(launch.millisecondsToMap);
        Close(launch);
    }
    std::sort(mapTimes.begin(), mapTimes.end());
    PrintFigure("launch to window mapped, median of " + std::to_string(kLaunches),
        FormatValue(mapTimes[mapTimes.size() / 2], 1, "ms"), "< 150 ms");
    PrintFigure("launch to window mapped, fastest", FormatValue(mapTimes.front(), 1, "ms"), "");

    Launch settled = LaunchTavo(xvfb.DisplayName(), args);
    std::this_thread::sleep_for(kSettle);
    const pid_t pid = settled.process->Pid();
    PrintFigure("peak RSS 5 s after launch (synthesizer loaded)", FormatValue(StatusMegabytes(pid, "VmHWM"), 1, "MB"),
        "< 60 MB");
    const double percent = CpuPercentOver(pid, kIdleWindow);
    PrintFigure(
        "CPU while idle over 10 s (synthesizer rendering silence)", FormatValue(percent, 2, "% of a core"), "< 0.5 %");
    Close(settled);
    std::remove(audioFile.c_str());

    // A soundfont that cannot load leaves a device that drops every message and starts
    // no audio thread: what remains is the tick, the poll and the event loop.
    Launch silent = LaunchTavo(xvfb.DisplayName(), { "--soundfont", "/nonexistent/tavo-bench.sf2" });
    std::this_thread::sleep_for(kSettle);
    PrintFigure("CPU while idle over 10 s (no sound output: tick, poll and event loop)",
        FormatValue(CpuPercentOver(silent.process->Pid(), kIdleWindow), 2, "% of a core"), "< 0.5 %");
    Close(silent);
    return 0;
}
