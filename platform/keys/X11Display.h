#pragma once

#include <memory>

// Xlib's Display, named without its header so that Xlib's macros stay out of ours.
struct _XDisplay;

struct X11DisplayCloser {
    void operator()(_XDisplay* display) const;
};

// An Xlib connection of the program's own (never Qt's), closed when the handle goes.
using X11Display = std::unique_ptr<_XDisplay, X11DisplayCloser>;

// UI thread. Connects to `displayName`, or to $DISPLAY when it is null; empty when no
// X server answers.
X11Display OpenX11Display(const char* displayName);
