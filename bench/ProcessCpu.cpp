#include "ProcessCpu.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// User plus system CPU time of the process, in clock ticks (fields 14 and 15 of stat);
// -1 when it cannot be read.
long CpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it are counted from its ')'.
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return -1;
    }
    std::istringstream rest(text.substr(nameEnd + 2));
    std::vector<std::string> fields { std::istream_iterator<std::string>(rest), std::istream_iterator<std::string>() };
    // rest starts at field 3 (state), so utime (14) and stime (15) are at 11 and 12.
    if (fields.size() < 13) {
        return -1;
    }
    return std::stol(fields[11]) + std::stol(fields[12]);
}

}

double CpuPercentOver(pid_t pid, std::chrono::seconds window)
{
    const long before = CpuTicks(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(window);
    const long after = CpuTicks(pid);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (before < 0 || after < 0) {
        return 0;
    }
    return 100.0 * static_cast<double>(after - before) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
}
