#include "WindowMapWatch.h"

#include <poll.h>
#include <stdexcept>

#include <X11/Xlib.h>

WindowMapWatch::WindowMapWatch(const std::string& displayName)
    : display_(XOpenDisplay(displayName.c_str()))
{
    if (display_ == nullptr) {
        throw std::runtime_error("cannot connect to " + displayName);
    }
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
}

WindowMapWatch::~WindowMapWatch()
{
    XCloseDisplay(display_);
}

std::optional<std::chrono::steady_clock::time_point> WindowMapWatch::WaitForMap(std::chrono::milliseconds allowance)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + allowance;
    for (;;) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MapNotify && event.xmap.override_redirect == False) {
                return Clock::now();
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd connection { ConnectionNumber(display_), POLLIN, 0 };
        poll(&connection, 1, static_cast<int>(left.count()));
    }
}
