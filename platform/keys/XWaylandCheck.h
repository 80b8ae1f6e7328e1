#pragma once

#include "platform/keys/X11Display.h"

// UI thread. True when the X server on `display` is XWayland, which shows its clients the
// keyboard only while one of its own windows has the focus, whatever XInput2 offers. Its
// vendor string is Xorg's: Xwayland 23 and later add an "XWAYLAND" extension, and every
// version names its RandR outputs XWAYLAND0, XWAYLAND1, ...
bool IsXWayland(_XDisplay* display);
