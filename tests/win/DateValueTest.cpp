// The program's own date values against the platform's variant conversions, which it used to
// call: every stored date must come back as the same moment.
#include <gtest/gtest.h>

#include <math.h>

#include "CalendarDays.h"
#include "DateValue.h"

#include <oleauto.h>

namespace {

void ExpectSameTime(const SYSTEMTIME& expected, const SYSTEMTIME& actual, double date,
                    bool weekday = true)
{
    EXPECT_EQ(expected.wYear, actual.wYear) << date;
    EXPECT_EQ(expected.wMonth, actual.wMonth) << date;
    EXPECT_EQ(expected.wDay, actual.wDay) << date;
    if (weekday)
        EXPECT_EQ(expected.wDayOfWeek, actual.wDayOfWeek) << date;
    EXPECT_EQ(expected.wHour, actual.wHour) << date;
    EXPECT_EQ(expected.wMinute, actual.wMinute) << date;
    EXPECT_EQ(expected.wSecond, actual.wSecond) << date;
    EXPECT_EQ(0, actual.wMilliseconds) << date;
}

}  // namespace

TEST(DateValueTest, BothWaysAgreeWithThePlatformAcrossTheRange)
{
    // Days of every century of the range and of the decades around now, each at times that
    // step through the day, and the edges of the range; before day 0 too.
    int checked = 0;
    for (int day = DayNumber(100, 1, 1); day <= DayNumber(9999, 12, 31); day += 997) {
        for (int step = 0; step < 7; step++) {
            int year, month, date;
            DayToDate(day + step * 36, &year, &month, &date);
            if (year > 9999)
                continue;
            SYSTEMTIME time = {};
            time.wYear = (WORD)year;
            time.wMonth = (WORD)month;
            time.wDay = (WORD)date;
            time.wHour = (WORD)(step * 3 + 1);
            time.wMinute = (WORD)(step * 8 + 7);
            time.wSecond = (WORD)(59 - step * 9);
            DATE ours = 0, theirs = 0;
            ASSERT_TRUE(TimeToDate(&time, &ours));
            ASSERT_TRUE(SystemTimeToVariantTime(&time, &theirs));
            EXPECT_EQ(theirs, ours) << year << "-" << month << "-" << date;
            SYSTEMTIME back = {}, platform = {};
            ASSERT_TRUE(DateToTime(ours, &back));
            ASSERT_TRUE(VariantTimeToSystemTime(ours, &platform));
            ExpectSameTime(platform, back, ours);
            checked++;
        }
    }
    EXPECT_GT(checked, 20000);

    // Fractions between whole seconds, as sums of saved values make them: to the nearest
    // second, carried into the next minute, hour and day (also before day 0).
    const double samples[] = {45999.9999999, 45999.4999999, 46000.000005, 45000.99999,
                              -1.25,         -1.9999999,    -0.5,         0.0,
                              2958465.99999, -657434.0,     1.0 / 86400 * 0.49};
    for (double date : samples) {
        SYSTEMTIME back = {}, platform = {};
        ASSERT_TRUE(VariantTimeToSystemTime(date, &platform)) << date;
        ASSERT_TRUE(DateToTime(date, &back)) << date;
        // Wine keeps the weekday of the day before a carry; ours is the shown day's.
        ExpectSameTime(platform, back, date, false);
    }
    // Outside the range, as the platform: no time.
    SYSTEMTIME none;
    EXPECT_FALSE(DateToTime(2958466.0, &none));
    EXPECT_FALSE(DateToTime(-657435.0, &none));
    EXPECT_FALSE(DateToTime(NAN, &none));
}
