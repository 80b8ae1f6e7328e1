#pragma once

#include <optional>
#include <string>

// Before the QApplication exists: why the window's display cannot be opened ("cannot
// open the display \":5\" (no X server answers)"), or nothing when it can as far as can
// be told. Qt aborts the whole process when its platform cannot start, so the program
// asks first, before it opens any output or file. Only X11 is checked; on any other
// platform Qt is left to judge. Main thread.
std::optional<std::string> WhyNoDisplay();
