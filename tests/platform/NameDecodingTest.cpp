#include <gtest/gtest.h>

#include <string>

#include "platform/text/NameDecoding.h"

TEST(NameDecodingTest, PlainAsciiIsKept)
{
    EXPECT_EQ(DecodeInstrumentName("Acoustic Grand Piano"), "Acoustic Grand Piano");
    EXPECT_EQ(DecodeInstrumentName(""), "");
}

TEST(NameDecodingTest, Utf8IsKeptAsItIs)
{
    EXPECT_EQ(DecodeInstrumentName("ピアノ"), "ピアノ");
    EXPECT_EQ(DecodeInstrumentName("ｱｺｰｽﾃｨｯｸ"), "ｱｺｰｽﾃｨｯｸ");
}

TEST(NameDecodingTest, Cp932HalfWidthAndFullWidthKatakanaDecode)
{
    // Half-width katakana are single bytes from 0xA1 in CP932; full-width ones are pairs.
    EXPECT_EQ(DecodeInstrumentName("\xB1\xBA\xB0\xBD"), "ｱｺｰｽ");
    EXPECT_EQ(DecodeInstrumentName("\x83\x73\x83\x41\x83\x6D"), "ピアノ");
    EXPECT_EQ(DecodeInstrumentName("Grand \x83\x73\x83\x41\x83\x6D 1"), "Grand ピアノ 1");
}

TEST(NameDecodingTest, BytesNeitherUtf8NorCp932FallBackToLatin1)
{
    // 0x80 is unassigned in CP932, and a lead byte followed by a space is no pair.
    EXPECT_EQ(DecodeInstrumentName("\x80"), "\u0080");
    EXPECT_EQ(DecodeInstrumentName("Caf\xE9 \x81 "), "Caf\u00E9 \u0081 ");
    // A CP932 lead byte cut off at the end of the line.
    EXPECT_EQ(DecodeInstrumentName("Piano\x83"), "Piano\u0083");
}

TEST(NameDecodingTest, LongCp932LinesConvertWhole)
{
    std::string cp932;
    std::string utf8;
    for (int i = 0; i < 200; ++i) {
        cp932 += "\x83\x73";
        utf8 += "ピ";
    }
    EXPECT_EQ(DecodeInstrumentName(cp932), utf8);
}

TEST(NameDecodingTest, Utf8ValidationRejectsMalformedForms)
{
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8E\xB9"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")); // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE3\x83")); // cut short
    EXPECT_FALSE(IsValidUtf8("\xE3\x41\x83")); // not a continuation
    EXPECT_FALSE(IsValidUtf8("\xFF"));
}
