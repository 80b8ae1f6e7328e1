#include "Xdo.h"

#include "ChildProcess.h"

std::optional<std::string> Xdo(const std::string& display, const std::vector<std::string>& args)
{
    ChildProcess xdotool("xdotool", args, { "DISPLAY=" + display });
    if (xdotool.WaitForExit(std::chrono::seconds(10)) != 0) {
        return std::nullopt;
    }
    return xdotool.Stdout();
}
