#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// What must hold for any "olist.txt" whatever its bytes: the file is read into the
// 4096-byte name buffer as a NUL-terminated prefix of the file, and every program's
// lookup either fails without touching the line buffer, or yields a NUL-terminated,
// non-empty line of at most 255 bytes that matches the line counted by CR LF pairs,
// and that decodes for display into well-formed UTF-8.
// Shared by the fuzzer and by the replay of its seed corpus.

// Writes bytes as the file at listPath, reads it back the way start-up does and looks up
// programs 0 to 127. Returns an empty string when every rule held, otherwise a
// description of the first rule broken.
std::string CheckNameListFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& listPath);
