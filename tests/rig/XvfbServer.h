#pragma once

#include <memory>

#include "ChildProcess.h"

// A private X server for a test or benchmark: Xvfb picks a free display and reports it once it
// takes clients. The destructor stops it. Throws std::runtime_error when Xvfb cannot start.
class XvfbServer {
public:
    // `screen` is Xvfb's screen 0 as WIDTHxHEIGHTxDEPTH.
    explicit XvfbServer(const std::string& screen = "640x480x24");

    // ":N", for XOpenDisplay, $DISPLAY and setxkbmap's -display.
    const std::string& DisplayName() const { return displayName_; }
    // SIGKILL now: the server dies under its clients, as when it crashes.
    void Kill();

private:
    std::unique_ptr<ChildProcess> xvfb_;
    std::string displayName_;
};

// What `xdotool args...` on `display` printed; nothing when it failed or did not finish in time.
std::optional<std::string> Xdo(const std::string& display, const std::vector<std::string>& args);
