#include "platform/keys/X11Display.h"

#include <X11/Xlib.h>

void X11DisplayCloser::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
}

X11Display OpenX11Display(const char* displayName)
{
    return X11Display(XOpenDisplay(displayName));
}

std::string DisplayNameOf(_XDisplay* display)
{
    return DisplayString(display);
}
