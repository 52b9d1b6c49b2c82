// The calendar arithmetic the reset schedule and the usage history share.
#include <gtest/gtest.h>

#include "CalendarDays.h"

TEST(CalendarDaysTest, DayNumbersRoundTripAndTheLeapYearRule)
{
    EXPECT_EQ(0, DayNumber(1970, 1, 1));
    EXPECT_EQ(-1, DayNumber(1969, 12, 31));
    EXPECT_EQ(20429, DayNumber(2025, 12, 7));
    // Every day of four centuries comes back as itself, leap days included.
    for (int day = DayNumber(1601, 1, 1); day <= DayNumber(2401, 1, 1); day++) {
        int year, month, date;
        DayToDate(day, &year, &month, &date);
        ASSERT_TRUE(month >= 1 && month <= MONTHS_PER_YEAR && date >= 1 &&
                    date <= DaysInMonthOf(year, month))
            << day;
        ASSERT_EQ(day, DayNumber(year, month, date));
    }

    EXPECT_EQ(28, DaysInMonthOf(2027, 2));
    EXPECT_EQ(28, DaysInMonthOf(2100, 2));
    EXPECT_EQ(29, DaysInMonthOf(2000, 2));
    EXPECT_EQ(29, DaysInMonthOf(2028, 2));
    EXPECT_EQ(0, DaysInMonthOf(2028, 0));
    EXPECT_EQ(0, DaysInMonthOf(2028, 13));
    EXPECT_EQ(30, DaysInMonthOf(2028, 4));
    EXPECT_EQ(31, DaysInMonthOf(2028, 12));
}
