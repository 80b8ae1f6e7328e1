#pragma once

#include <functional>

// The program cannot go on without its display. When the connection to the X server
// breaks, Qt's X11 platform prints a warning and calls exit(1) from deep inside the
// event loop, and Xlib does the same inside any call on one of the program's own
// connections; neither runs the program's shut-down. While a DisplayLossExit exists,
// both end in one call of its `finish` on the UI thread, then one line on stderr and
// exit code 1. Construct and destroy on the UI thread, after the QApplication exists;
// one at a time.
class DisplayLossExit {
public:
    // `finish` releases what must not be left behind (sounding notes, a half-written
    // file) and talks to no display.
    explicit DisplayLossExit(std::function<void()> finish);
    ~DisplayLossExit();
    DisplayLossExit(const DisplayLossExit&) = delete;
    DisplayLossExit& operator=(const DisplayLossExit&) = delete;
};

// UI thread. Runs the current DisplayLossExit's `finish`, says that the display is gone
// and exits with code 1. The X11 back end calls it when one of its connections breaks.
[[noreturn]] void ExitOnDisplayLoss();
