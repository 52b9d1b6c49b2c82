#include <gtest/gtest.h>
#include <string.h>

#include "Utf8Text.h"

TEST(Utf8TextTest, RoundTripsEveryPlaneAndCutsOnlyWholeCharacters)
{
    const char* text = "\xC5\x81ukasz-\xE6\xB5\x81\xE9\x87\x8F \xF0\x9F\x93\xB6";  // Łukasz-流量 📶
    wchar_t wide[64];
    ASSERT_EQ(12u, Utf8ToWide(text, wide, 64));
    EXPECT_EQ(0x141, wide[0]);
    EXPECT_EQ(0xD83D, wide[10]);
    char back[64];
    EXPECT_EQ(strlen(text), WideToUtf8(wide, back, sizeof(back)));
    EXPECT_STREQ(text, back);

    // Room for 流 and a part of 量: the part is left out, the text still ends.
    char cut[5];
    EXPECT_EQ(3u, WideToUtf8(wide + 7, cut, sizeof(cut)));
    EXPECT_STREQ("\xE6\xB5\x81", cut);
    // A surrogate pair is never split either.
    wchar_t narrow[12];
    EXPECT_EQ(10u, Utf8ToWide(text, narrow, 12));
}

TEST(Utf8TextTest, BytesThatAreNotUtf8AreReplacedAndRecognised)
{
    // 0xA3 is "£" in code page 1252: an ANSI text read as UTF-8.
    const char* ansi = "caf\xE9 \xA3";
    EXPECT_FALSE(IsUtf8(ansi, strlen(ansi)));
    wchar_t wide[16];
    Utf8ToWide(ansi, wide, 16);
    EXPECT_EQ(0xFFFD, wide[3]);
    EXPECT_EQ(L' ', wide[4]);
    EXPECT_TRUE(IsUtf8("plain", 5));
    EXPECT_TRUE(IsUtf8("\xE6\xB5\x81", 3));
    EXPECT_FALSE(IsUtf8("\xE6\xB5", 2));          // cut short
    EXPECT_FALSE(IsUtf8("\xC0\xAF", 2));          // overlong
    EXPECT_FALSE(IsUtf8("\xED\xA0\x80", 3));      // a surrogate
}
