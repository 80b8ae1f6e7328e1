#include <gtest/gtest.h>

#include "platform/text/TerminalText.h"

using namespace std::literals;

// No byte of another program's port name may steer the terminal: every control (C0, DEL, C1 as a byte or as UTF-8), and
// every byte that is not UTF-8, prints as \xHH; what is printable, from the space up, from U+00A0 up, stays as it is.
TEST(TerminalTextTest, EveryControlAndNonUtf8ByteIsEscapedAndPrintableTextKept)
{
    const std::pair<std::string, std::string> cases[] = {
        { "Grüße ピアノ ~ \u00A0\U0010FFFF", "Grüße ピアノ ~ \u00A0\U0010FFFF" },
        { "a\0b\tc\nd\re\x1F\x7F"s, "a\\x00b\\x09c\\x0ad\\x0de\\x1f\\x7f" },
        { "\x80\x9F\xFF", "\\x80\\x9f\\xff" },
        { "\u0080\u009F", "\\xc2\\x80\\xc2\\x9f" },
        { "\x1B[2J\x9B[m\x1B]0;title\x07", "\\x1b[2J\\x9b[m\\x1b]0;title\\x07" },
        { "\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", "\\xc0\\xaf\\xed\\xa0\\x80\\xf4\\x90\\x80\\x80" },
        { "ピ\xE3\x83", "ピ\\xe3\\x83" },
    };
    for (const auto& [name, shown] : cases) {
        EXPECT_EQ(EscapeControlCharacters(name), shown) << testing::PrintToString(name);
    }
}
