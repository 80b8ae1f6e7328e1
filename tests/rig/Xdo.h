#pragma once

#include <optional>
#include <string>
#include <vector>

// Runs `xdotool args...` on `display` and returns what it printed; nothing when it
// failed or did not finish within seconds.
std::optional<std::string> Xdo(const std::string& display, const std::vector<std::string>& args);
