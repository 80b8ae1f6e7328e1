#pragma once

#include <optional>
#include <string>

#include "platform/keys/X11Display.h"

// Before the QApplication exists: why the window's display cannot be opened ("cannot
// open the display \":5\" (no X server answers)"), or nothing when it can as far as can
// be told. Qt aborts the whole process when its platform cannot start, so the program
// asks before it opens any output or file. Only X11 is checked. The connection the check
// opened stays in `connection` for the key reader, so the program needs no second one.
std::optional<std::string> WhyNoDisplay(X11Display& connection);
