#include "platform/keys/X11Display.h"

#include <X11/Xlib.h>

#include "platform/keys/DisplayLoss.h"

namespace {

// Xlib's handler for a broken connection is process-wide and must not return (Xlib
// exits when it does). Ours finishes the program's work first; it also takes over from
// the one Qt installed for its own Xlib connection, which would only print and exit.
int FinishOnBrokenConnection(Display*)
{
    ExitOnDisplayLoss();
}

}

void X11DisplayCloser::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
}

X11Display OpenX11Display(const char* displayName)
{
    X11Display display(XOpenDisplay(displayName));
    if (display) {
        XSetIOErrorHandler(&FinishOnBrokenConnection);
    }
    return display;
}

std::string DisplayNameOf(_XDisplay* display)
{
    return DisplayString(display);
}
