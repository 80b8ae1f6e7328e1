#pragma once

#include <string>
#include <string_view>

// Text that came from another program (a MIDI port's name), made safe to print on a
// terminal: control characters (C0, DEL, C1) and bytes that are not UTF-8 become \xHH,
// so no name can move the cursor, retitle the window or send escape sequences. Printable
// UTF-8 stays as it is. Pure function, any thread.
std::string EscapeControlCharacters(std::string_view text);
