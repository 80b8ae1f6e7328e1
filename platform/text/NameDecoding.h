#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Turns one line of the instrument list into UTF-8 for display. The list may be UTF-8,
// or CP932 (Japanese Windows), as lists written on Windows are; anything else is read
// as Latin-1, so every byte sequence yields some text. cutShort says the line was cut at
// the longest a line may be: a UTF-8 character the cut split is then dropped, where it
// would otherwise make the whole line read as CP932. Pure function, any thread.
std::string DecodeInstrumentName(std::string_view bytes, bool cutShort);

// The length of the well-formed UTF-8 character text starts with, 0 when it starts with
// none: overlong forms, surrogates, code points past U+10FFFF and characters the text
// ends inside of are not well-formed. Pure function, any thread.
std::size_t Utf8CharacterLength(std::string_view text);
