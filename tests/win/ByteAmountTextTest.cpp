// The byte amounts and link speeds as every view shows them.
#include <gtest/gtest.h>

#include <string>

#include "ByteAmountText.h"

namespace {

std::string Amount(unsigned __int64 amount)
{
    char text[64];
    FormatByteAmount(amount, "B", text, sizeof(text));
    return text;
}

std::string Speed(unsigned __int64 bits)
{
    char text[64];
    FormatSpeedText(bits, text, sizeof(text));
    return text;
}

}  // namespace

TEST(ByteAmount, EdgesOfEveryRule)
{
    EXPECT_EQ("0 B", Amount(0));
    EXPECT_EQ("1000 B", Amount(1000));
    EXPECT_EQ("1 KB", Amount(1001));
    EXPECT_EQ("1000 KB", Amount(1000000));
    EXPECT_EQ("1.000 MB", Amount(1000001));
    EXPECT_EQ("1.999 MB", Amount(1999999));
    EXPECT_EQ("2.000 MB", Amount(2000000));
    EXPECT_EQ("2.00 MB", Amount(2000001));
    EXPECT_EQ("3.00 MB", Amount(2999999));  // cut to 2.999, then rounded
    EXPECT_EQ("20.00 MB", Amount(20000000));
    EXPECT_EQ("20 MB", Amount(20000001));
    EXPECT_EQ("1000 MB", Amount(1000000000));
    EXPECT_EQ("1.00 GB", Amount(1000000001));
    EXPECT_EQ("4.29 GB", Amount(4294967296ULL));
    EXPECT_EQ("1000.00 GB", Amount(1000000000000ULL));
    // Far beyond what 32-bit millions hold: still the right figure, not a wrapped one.
    EXPECT_EQ("5000000.00 GB", Amount(5000000000000000ULL));
    EXPECT_EQ("18446744073.71 GB", Amount(~0ULL));

    char small[6];
    EXPECT_EQ(5, FormatByteAmount(1000000001, "B", small, sizeof(small)));
    EXPECT_STREQ("1.00 ", small);
}

TEST(ByteAmount, SpeedTexts)
{
    EXPECT_EQ("0 bps", Speed(0));
    EXPECT_EQ("10000 bps", Speed(10000));
    EXPECT_EQ("10 Kbps", Speed(10001));
    EXPECT_EQ("10000 Kbps", Speed(10000000));
    EXPECT_EQ("10 Mbps", Speed(10000001));
    EXPECT_EQ("1000 Mbps", Speed(1000000000));
    EXPECT_EQ("4294 Mbps", Speed(0xFFFFFFFF));
    EXPECT_EQ("40000 Mbps", Speed(40000000000ULL));  // beyond the 32-bit row
    EXPECT_EQ("100000 Mbps", Speed(100000000000ULL));
}
