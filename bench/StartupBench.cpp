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

// User plus system CPU time of the process, in clock ticks (fields 14 and 15 of stat).
long CpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it are counted from its ')'.
    std::string rest = text.substr(text.rfind(')') + 2);
    std::vector<std::string> fields;
    std::string field;
    for (const char c : rest) {
        if (c == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    // rest starts at field 3 (state), so utime (14) and stime (15) are at 11 and 12.
    return std::stol(fields.at(11)) + std::stol(fields.at(12));
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
    const long ticksBefore = CpuTicks(pid);
    const auto idleStart = Clock::now();
    std::this_thread::sleep_for(kIdleWindow);
    const long ticksAfter = CpuTicks(pid);
    const double seconds = std::chrono::duration<double>(Clock::now() - idleStart).count();
    const double percent
        = 100.0 * static_cast<double>(ticksAfter - ticksBefore) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
    PrintFigure(
        "CPU while idle over 10 s (synthesizer rendering silence)", FormatValue(percent, 2, "% of a core"), "< 0.5 %");
    Close(settled);
    std::remove(audioFile.c_str());
    return 0;
}
