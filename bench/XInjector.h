#pragma once

#include <string>
#include <vector>

#include "Keysyms.h"
#include "LatencyStats.h"
#include "platform/keys/X11Display.h"

// Presses keys and the mouse button of an X server through XTest, on a connection of
// its own, as another program would. Each injecting call returns the moment just before
// the events were sent; it flushes but does not wait for the server, so the time is
// taken as late as the bench can take it. One thread uses an injector.
class XInjector {
public:
    // Throws std::runtime_error when the server does not answer.
    explicit XInjector(const std::string& displayName);

    // The keycode that types `keysym` under the server's layout, 0 if none.
    int KeycodeOf(unsigned long keysym) const;
    // All `keycodes` go down (or up) in one flush, so a poll sees them together.
    BenchClock::time_point SetKeys(const std::vector<int>& keycodes, bool down);
    BenchClock::time_point SetKey(int keycode, bool down) { return SetKeys({ keycode }, down); }
    BenchClock::time_point SetButton1(bool down);
    // Moves the pointer to root coordinates and waits until the server has done it.
    void MovePointer(int x, int y);
    // A window's top-left corner in root coordinates.
    void RootOrigin(unsigned long window, int& x, int& y) const;

private:
    X11Display display_;
};

// Before any other Xlib call of the process: the injector's connection lives on a
// thread of its own while the program under measurement uses Xlib on the UI thread.
void EnableXlibThreads();
