#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The instrument name list: "olist.txt" beside the executable, line N naming program N,
// lines ending in CR LF. Everything here works on bytes; decoding for display is the
// view's business.

inline constexpr const char* kNameListFile = "olist.txt";
// A looked-up line holds at most 255 bytes plus its terminating NUL.
inline constexpr std::size_t kLineBufferSize = 256;
// What an empty line reads as.
inline constexpr const char* kNoData = "nodata";

// Makes the folder of the executable at executablePath the current directory, so the
// list is then opened by its plain name. False, changing nothing, when the path has no
// folder part.
bool SetWorkingDirToExe(std::string_view executablePath);

// Reads the start of the file into buffer, as much as fits with a terminating NUL, and
// stores the NUL. False when the path is not a plain file or cannot be opened (buffer
// untouched) or closed. A read that fails leaves an empty text.
bool ReadTextFile(const char* path, std::span<char> buffer);

// Copies line index of the NUL-terminated text into out: up to the first CR or NUL, at
// most 255 bytes, "nodata" when empty. Lines are found by counting CR LF pairs; an
// index of 0 or below is the first line. False, out untouched, when the text has fewer
// CR LF pairs than the index asks for.
bool GetTextLine(const char* text, std::int32_t index, std::span<char, kLineBufferSize> out);
