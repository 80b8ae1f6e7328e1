#pragma once

#include <string>
#include <string_view>

// Turns one line of the instrument list into UTF-8 for display. The list may be UTF-8,
// or CP932 (Japanese Windows), as lists written on Windows are; anything else is read
// as Latin-1, so every byte sequence yields some text. Pure function, any thread.
std::string DecodeInstrumentName(std::string_view bytes);

// True when bytes form well-formed UTF-8 (no overlong forms, surrogates or code points
// past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
