#pragma once

#include <optional>
#include <string>
#include <string_view>

// Replaces the file at `path` with `contents` so that a crash or a power cut at any moment
// leaves either the old file or the new one, never a part of either: the contents go to a
// hidden file of their own in the same folder, reach the disk, and are renamed over
// `path`. A file already at `path` keeps its permissions. Returns why it failed (the
// system's words), leaving the old file as it was. Any thread, one call at a time per path.
std::optional<std::string> ReplaceFile(const std::string& path, std::string_view contents);
