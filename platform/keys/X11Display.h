#pragma once

#include <memory>
#include <string>

// Xlib's Display, named without its header so that Xlib's macros stay out of ours.
struct _XDisplay; // NOLINT(bugprone-reserved-identifier): the name is Xlib's, not ours

struct X11DisplayCloser {
    void operator()(_XDisplay* display) const;
};

// An Xlib connection of the program's own (never Qt's), closed when the handle goes.
using X11Display = std::unique_ptr<_XDisplay, X11DisplayCloser>;

// UI thread. Connects to `displayName`, or to $DISPLAY when it is null; empty when no
// X server answers. Should it break later, Xlib's process-wide handler ends the program.
X11Display OpenX11Display(const char* displayName);

// The name of the display another connection (Qt's) reached, e.g. ":0".
std::string DisplayNameOf(_XDisplay* display);
