#include "XvfbServer.h"

#include <csignal>
#include <filesystem>

XvfbServer::XvfbServer(const std::string& screen)
    : xvfb_(std::make_unique<ChildProcess>(
        "Xvfb", std::vector<std::string> { "-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0", screen }))
{
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    const auto reported = [&] { return (number = xvfb_->Stdout()).find('\n') != std::string::npos; };
    if (!Eventually(reported, std::chrono::seconds(10))) {
        throw std::runtime_error("Xvfb did not report a display: " + xvfb_->Stderr());
    }
    displayName_ = ":" + number.substr(0, number.find('\n'));
}

void XvfbServer::Kill()
{
    xvfb_->Signal(SIGKILL);
    xvfb_->WaitForExit(std::chrono::seconds(5));
    // What a server that got to clean up would have removed.
    std::error_code ignored;
    std::filesystem::remove("/tmp/.X11-unix/X" + displayName_.substr(1), ignored);
    std::filesystem::remove("/tmp/.X" + displayName_.substr(1) + "-lock", ignored);
}

std::optional<std::string> Xdo(const std::string& display, const std::vector<std::string>& args)
{
    return ToolOutput("xdotool", args, { "DISPLAY=" + display });
}
