#include "XInjector.h"

#include <stdexcept>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

XInjector::XInjector(const std::string& displayName)
    : display_(OpenX11Display(displayName.c_str()))
{
    if (!display_) {
        throw std::runtime_error("cannot connect to " + displayName);
    }
}

int XInjector::KeycodeOf(unsigned long keysym) const
{
    return XKeysymToKeycode(display_.get(), keysym);
}

BenchClock::time_point XInjector::SetKeys(const std::vector<int>& keycodes, bool down)
{
    const BenchClock::time_point sent = BenchClock::now();
    for (const int keycode : keycodes) {
        XTestFakeKeyEvent(display_.get(), static_cast<unsigned>(keycode), down ? True : False, CurrentTime);
    }
    XFlush(display_.get());
    return sent;
}

BenchClock::time_point XInjector::SetButton1(bool down)
{
    const BenchClock::time_point sent = BenchClock::now();
    XTestFakeButtonEvent(display_.get(), Button1, down ? True : False, CurrentTime);
    XFlush(display_.get());
    return sent;
}

void XInjector::MovePointer(int x, int y)
{
    XTestFakeMotionEvent(display_.get(), DefaultScreen(display_.get()), x, y, CurrentTime);
    XSync(display_.get(), False);
}

void XInjector::RootOrigin(unsigned long window, int& x, int& y) const
{
    Window child = 0;
    XTranslateCoordinates(display_.get(), window, DefaultRootWindow(display_.get()), 0, 0, &x, &y, &child);
}

void EnableXlibThreads()
{
    XInitThreads();
}
