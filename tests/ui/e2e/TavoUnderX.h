#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/keys/X11Display.h"

// The real program, started as a child process on a given X display, and watched from
// an X connection of the test's own: when its window is mapped, asking it to close.
// Used by the end-to-end test, the screenshot tool and the start-up benchmark.

// A running tavo. The destructor kills and reaps it if it is still running.
class TavoProcess {
public:
    // Starts executable with args, $DISPLAY set to displayName and Qt on X11; its stderr
    // goes to stderrPath when one is given. Throws std::runtime_error when it cannot be
    // started.
    TavoProcess(const std::string& executable, const std::vector<std::string>& args, const std::string& displayName,
        const std::string& stderrPath = {});
    ~TavoProcess();
    TavoProcess(const TavoProcess&) = delete;
    TavoProcess& operator=(const TavoProcess&) = delete;

    pid_t Pid() const { return pid_; }
    void Signal(int signal);
    // The exit code once the program has exited by itself; nothing when it was killed by
    // a signal or is still running when the allowance runs out.
    std::optional<int> WaitForExit(std::chrono::milliseconds allowance);

private:
    pid_t pid_ = -1;
    bool reaped_ = false;
};

// Watches the server's top-level windows. Construct it before starting the program, so
// no map is missed.
class TopLevelWatcher {
public:
    explicit TopLevelWatcher(const std::string& displayName);

    // The first managed top-level window (not a menu or tool tip) mapped since the
    // watcher was made; 0 when none is mapped within the allowance.
    unsigned long WaitForMappedWindow(std::chrono::milliseconds allowance);

    // What a window manager's close box does: sends WM_DELETE_WINDOW.
    void RequestClose(unsigned long window);

    // The window's title.
    std::string TitleOf(unsigned long window);

    // What the window shows on the screen, as 0xAARRGGBB pixels row by row; empty when
    // it cannot be read.
    std::vector<std::uint32_t> GrabWindow(unsigned long window, int& width, int& height);

private:
    X11Display display_;
};
