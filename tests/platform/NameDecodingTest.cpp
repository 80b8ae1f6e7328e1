#include <gtest/gtest.h>

#include "platform/text/NameDecoding.h"

TEST(NameDecodingTest, DecodesUtf8Cp932OrLatin1)
{
    // CP932 has full-width katakana as byte pairs and half-width ones as single bytes from
    // 0xA1 (an overlong UTF-8 '/' is two of those); 0x80 is unassigned in it, and a lead
    // byte before a space or at the end is no pair.
    const std::pair<const char*, const char*> cases[]
        = { { "Acoustic Grand Piano", "Acoustic Grand Piano" }, { "ピアノ ｱｺｰｽ", "ピアノ ｱｺｰｽ" },
              { "Grand \x83\x73\x83\x41\x83\x6D \xB1\xBA\xB0\xBD", "Grand ピアノ ｱｺｰｽ" }, { "\xC0\xAF", "ﾀｯ" },
              { "\x80", "\u0080" }, { "Caf\xE9 \x81 ", "Caf\u00E9 \u0081 " }, { "Piano\x83", "Piano\u0083" } };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(DecodeInstrumentName(bytes), text) << bytes;
    }
}
