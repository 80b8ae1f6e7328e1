#include "WestonServer.h"

#include <stdexcept>
#include <sys/stat.h>

WestonServer::WestonServer(const std::string& runtimeFolder)
{
    mkdir(runtimeFolder.c_str(), 0700); // Wayland's runtime folders are the user's alone
    weston_.emplace("weston",
        std::vector<std::string> { "--backend=headless-backend.so", "--xwayland", "--socket=tavo" },
        std::vector<std::string> { "XDG_RUNTIME_DIR=" + runtimeFolder });
    const std::string listening = "xserver listening on display ";
    for (int wait = 0; weston_->Stderr().find(listening) == std::string::npos; ++wait) {
        if (wait == 1000 || weston_->WaitForExit(std::chrono::milliseconds(10))) {
            throw std::runtime_error("Weston did not start XWayland: " + weston_->Stderr());
        }
    }
    displayName_ = weston_->Stderr().substr(weston_->Stderr().find(listening) + listening.size());
    displayName_.resize(displayName_.find('\n'));
}
