#pragma once

#include <chrono>
#include <optional>
#include <string>

// Watches an X server for top-level windows being mapped, on a connection of its own.
// Xvfb runs no window manager, so a program's main window is mapped straight onto the
// root window, and the watch sees it the moment the server does it.
class WindowMapWatch {
public:
    // Watches from now on. Throws std::runtime_error when the server does not answer.
    explicit WindowMapWatch(const std::string& displayName);
    ~WindowMapWatch();
    WindowMapWatch(const WindowMapWatch&) = delete;
    WindowMapWatch& operator=(const WindowMapWatch&) = delete;

    // When the next top-level window (menus and tooltips aside) was mapped; nothing if
    // none was within `allowance`.
    std::optional<std::chrono::steady_clock::time_point> WaitForMap(std::chrono::milliseconds allowance);

private:
    struct _XDisplay* display_;
};
