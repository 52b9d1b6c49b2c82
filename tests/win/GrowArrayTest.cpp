// The one growable array and the one decimal reader.
#include <gtest/gtest.h>

#include "DecimalText.h"
#include "GrowArray.h"

TEST(GrowArrayTest, GrowthKeepsTheItemsAndARefusedReserveChangesNothing)
{
    GrowArray<int> numbers;
    for (int i = 0; i < 1000; i++)
        ASSERT_TRUE(numbers.Append(i * 3));
    ASSERT_EQ(1000, numbers.Count());
    for (int i = 0; i < 1000; i++)
        ASSERT_EQ(i * 3, numbers[i]) << i;
    const int* before = numbers.Data();

    // More than the address space holds, and a negative count: refused, nothing lost.
    EXPECT_EQ(0, numbers.Reserve(0x7FFFFFFF));
    EXPECT_EQ(0, numbers.Resize(0x7FFFFFFF));
    EXPECT_EQ(0, numbers.Resize(-1));
    EXPECT_EQ(1000, numbers.Count());
    EXPECT_EQ(before, numbers.Data());
    EXPECT_EQ(2997, numbers[999]);

    // Growing again zeroes the new items only.
    ASSERT_TRUE(numbers.Resize(1002));
    EXPECT_EQ(2997, numbers[999]);
    EXPECT_EQ(0, numbers[1001]);
    numbers.RemoveAt(0);
    EXPECT_EQ(3, numbers[0]);
    EXPECT_EQ(1001, numbers.Count());
}

TEST(DecimalTextTest, DigitsWithinTheLengthHeldAtTheLimit)
{
    unsigned __int64 value = 7;
    size_t digits = 9;
    EXPECT_EQ(DecimalNone, ReadDecimal("x12", NO_LENGTH_LIMIT, 100, &value, &digits));
    EXPECT_EQ(0u, value);
    EXPECT_EQ(0u, digits);
    EXPECT_EQ(DecimalNone, ReadDecimal("", NO_LENGTH_LIMIT, 100, &value, &digits));

    EXPECT_EQ(DecimalRead, ReadDecimal("0042,7", NO_LENGTH_LIMIT, 100, &value, &digits));
    EXPECT_EQ(42u, value);
    EXPECT_EQ(4u, digits);
    EXPECT_EQ(DecimalRead, ReadDecimal("2026-12", 2, 9999, &value, &digits));
    EXPECT_EQ(20u, value);
    EXPECT_EQ(2u, digits);

    // Past the limit: held there, and the whole run is still counted.
    EXPECT_EQ(DecimalRead, ReadDecimal("100", NO_LENGTH_LIMIT, 100, &value, &digits));
    EXPECT_EQ(100u, value);
    EXPECT_EQ(DecimalOverLimit, ReadDecimal("101", NO_LENGTH_LIMIT, 100, &value, &digits));
    EXPECT_EQ(100u, value);
    EXPECT_EQ(DecimalOverLimit, ReadDecimal("7 ", NO_LENGTH_LIMIT, 5, &value, &digits));
    EXPECT_EQ(5u, value);
    EXPECT_EQ(DecimalRead,
              ReadDecimal("18446744073709551615", NO_LENGTH_LIMIT, 0xFFFFFFFFFFFFFFFFULL, &value,
                          &digits));
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFULL, value);
    EXPECT_EQ(DecimalOverLimit,
              ReadDecimal("184467440737095516160", NO_LENGTH_LIMIT, 0xFFFFFFFFFFFFFFFFULL,
                          &value, &digits));
    EXPECT_EQ(21u, digits);
}
