#pragma once

#include <string>

// The full path of the running executable, links resolved; empty when the system
// cannot tell.
std::string ExecutablePath();
