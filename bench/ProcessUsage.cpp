#include "ProcessUsage.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The kilobytes or counts of `field` lines ("name:  value") in a status file, summed.
long SumStatusField(const std::filesystem::path& status, const std::string& field)
{
    std::ifstream file(status);
    long sum = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            sum += std::stol(line.substr(field.size() + 1));
        }
    }
    return sum;
}

double CpuSeconds(const std::filesystem::path& stat)
{
    std::ifstream file(stat);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields are counted from its closing ')',
    // after which field 3 (state) comes first, so utime (14) and stime (15) are 11 and 12.
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return 0;
    }
    std::istringstream rest(text.substr(nameEnd + 2));
    const std::vector<std::string> fields { std::istream_iterator<std::string>(rest),
        std::istream_iterator<std::string>() };
    if (fields.size() < 13) {
        return 0;
    }
    return static_cast<double>(std::stol(fields[11]) + std::stol(fields[12]))
        / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}

ProcessUsage ReadProcessUsage(pid_t pid)
{
    const std::filesystem::path process = "/proc/" + std::to_string(pid);
    ProcessUsage usage;
    usage.cpuSeconds = CpuSeconds(process / "stat");
    usage.peakRssMegabytes = static_cast<double>(SumStatusField(process / "status", "VmHWM")) / 1024.0;
    std::error_code noProcess;
    for (const auto& task : std::filesystem::directory_iterator(process / "task", noProcess)) {
        usage.contextSwitches += SumStatusField(task.path() / "status", "voluntary_ctxt_switches")
            + SumStatusField(task.path() / "status", "nonvoluntary_ctxt_switches");
    }
    return usage;
}
