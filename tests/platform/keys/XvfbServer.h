#pragma once

#include <string>
#include <sys/types.h>

// A private X server for one test program or benchmark: Xvfb picks a free display and
// reports it through a pipe, which is how the constructor knows the server is ready to
// take clients. The destructor stops it. Throws std::runtime_error when Xvfb cannot start.
class XvfbServer {
public:
    // `screen` is Xvfb's screen 0 as WIDTHxHEIGHTxDEPTH; a window larger than it is cut off.
    explicit XvfbServer(const std::string& screen = "640x480x24");
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N", for XOpenDisplay, $DISPLAY and setxkbmap's -display.
    const std::string& DisplayName() const { return displayName_; }

private:
    pid_t pid_ = -1;
    std::string displayName_;
};
