#include <gtest/gtest.h>

#include "platform/text/NameDecoding.h"

TEST(NameDecodingTest, DecodesUtf8Cp932OrLatin1)
{
    // CP932 has full-width katakana as byte pairs and half-width ones as single bytes from 0xA1 (an overlong UTF-8 '/'
    // is two of those, a lone UTF-8 lead 0xC2 is one); 0x80 is unassigned in it, and a lead byte before a space or at
    // the end is no pair. Only a line cut at its longest may end inside a UTF-8 character, which is then dropped.
    const std::string padding(244, ' ');
    const std::tuple<std::string, bool, std::string> cases[]
        = { { "Acoustic Grand Piano", false, "Acoustic Grand Piano" }, { "ピアノ ｱｺｰｽ", false, "ピアノ ｱｺｰｽ" },
              { "Grand \x83\x73\x83\x41\x83\x6D \xB1\xBA\xB0\xBD", false, "Grand ピアノ ｱｺｰｽ" },
              { "\xC0\xAF", false, "ﾀｯ" }, { "\x80", false, "\u0080" }, { "Caf\xE9 \x81 ", false, "Caf\u00E9 \u0081 " },
              { "Piano\x83", false, "Piano\u0083" }, { "Piano \xC2", false, "Piano ﾂ" }, { "ピアノ", true, "ピアノ" },
              { "ピアノ" + padding + "\xE3\x83", true, "ピアノ" + padding } };
    for (const auto& [bytes, cutShort, text] : cases) {
        EXPECT_EQ(DecodeInstrumentName(bytes, cutShort), text) << bytes;
    }
}
