// The one reader of decimal numbers, as the INI file's stored numbers are read by the program
// and the report alike.
#include <gtest/gtest.h>

#include "DecimalText.h"

TEST(DecimalTextTest, AStoredNumberReadsAsTheProgramHasAlwaysReadIt)
{
    const struct {
        const char* text;
        int found;
        unsigned __int64 value;
    } cases[] = {
        {"200", 1, 200},        {" \t+7", 1, 7},     {"12abc", 1, 12},
        {"-5", 0, 0},           {"", 0, 0},          {"x1", 0, 0},
        {"+-1", 0, 0},          {"300", 1, 255},     {"99999999999999999999", 1, 255},
    };
    for (const auto& c : cases) {
        unsigned __int64 value = 99;
        EXPECT_EQ(c.found, ReadStoredNumber(c.text, 255, &value)) << c.text;
        EXPECT_EQ(c.value, value) << c.text;
    }
}
