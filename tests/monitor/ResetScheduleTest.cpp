// When a scheduled reset is due: daily, monthly and on a date, around midnight, month ends and
// leap years; never; and reset points that are no date.
#include <gtest/gtest.h>

#include "MonitorTestSupport.h"

namespace {

class ResetScheduleTest : public CoreTest {
protected:
    // Whether the reset is due at the given moment for totals counted since startDay.
    bool Due(DATE startDay, int year, int month, int day, int hour, int minute, int second,
             int milliseconds = 0)
    {
        SYSTEMTIME now = FakePlatform::Time(year, month, day, hour, minute, second, milliseconds);
        VARIANT start;
        VariantInit(&start);
        start.vt = VT_DATE;
        start.date = startDay;
        return ResetDue(&now, &start, Settings) != 0;
    }

    void Monthly(int day)
    {
        Settings.ResetType = ResetMonthly;
        Settings.ResetDate = SYSTEMTIME();
        Settings.ResetDate.wDay = (WORD)day;
    }

    void OnDate(int year, int month, int day, int hour = 0, int minute = 0)
    {
        Settings.ResetType = ResetOnDate;
        Settings.ResetDate = SYSTEMTIME();
        Settings.ResetDate.wYear = (WORD)year;
        Settings.ResetDate.wMonth = (WORD)month;
        Settings.ResetDate.wDay = (WORD)day;
        Settings.ResetDate.wHour = (WORD)hour;
        Settings.ResetDate.wMinute = (WORD)minute;
    }
};

TEST_F(ResetScheduleTest, DailyAtTheFirstMomentAfterMidnight)
{
    Settings.ResetType = ResetDaily;
    DATE lateYesterday = DateOf(2026, 12, 6, 23, 59, 59);
    EXPECT_FALSE(Due(lateYesterday, 2026, 12, 6, 23, 59, 59));
    EXPECT_FALSE(Due(lateYesterday, 2026, 12, 7, 0, 0, 0));
    // The platform's date values hold whole seconds: half a second past is the point itself.
    EXPECT_FALSE(Due(lateYesterday, 2026, 12, 7, 0, 0, 0, 500));
    EXPECT_TRUE(Due(lateYesterday, 2026, 12, 7, 0, 0, 1));
    EXPECT_TRUE(Due(lateYesterday, 2026, 12, 7, 18, 0, 0));
    // Once reset, the same midnight never resets again; a start exactly at it counts as reset.
    EXPECT_FALSE(Due(DateOf(2026, 12, 7, 0, 0, 1), 2026, 12, 7, 23, 59, 59));
    EXPECT_FALSE(Due(DateOf(2026, 12, 7), 2026, 12, 7, 12, 0, 0));
    // Days without a run are made up at the next sample.
    EXPECT_TRUE(Due(DateOf(2026, 11, 2, 8), 2026, 12, 7, 12, 0, 0));
    // Over the year's end.
    EXPECT_TRUE(Due(DateOf(2026, 12, 31, 23, 59, 59), 2027, 1, 1, 0, 0, 1));
}

TEST_F(ResetScheduleTest, MonthlyOnADayThatAShortMonthLacks)
{
    Monthly(31);
    DATE start = DateOf(2026, 4, 1, 9);
    EXPECT_FALSE(Due(start, 2026, 4, 30, 0, 0, 0));
    EXPECT_TRUE(Due(start, 2026, 4, 30, 0, 0, 1));
    EXPECT_FALSE(Due(DateOf(2026, 4, 30, 0, 0, 1), 2026, 4, 30, 23, 59, 59));
    // May has its 31st.
    EXPECT_FALSE(Due(DateOf(2026, 5, 1), 2026, 5, 30, 23, 0, 0));
    EXPECT_TRUE(Due(DateOf(2026, 5, 1), 2026, 5, 31, 0, 0, 1));
}

TEST_F(ResetScheduleTest, MonthlyAtFebruarysEndInLeapAndCommonYears)
{
    Monthly(30);
    EXPECT_TRUE(Due(DateOf(2027, 2, 1), 2027, 2, 28, 0, 0, 1));

    EXPECT_FALSE(Due(DateOf(2028, 2, 1), 2028, 2, 28, 12, 0, 0));
    EXPECT_TRUE(Due(DateOf(2028, 2, 1), 2028, 2, 29, 0, 0, 1));

    // Started in a leap year and still running a year later: February has 28 days again.
    EXPECT_TRUE(Due(DateOf(2029, 2, 1), 2029, 2, 28, 0, 0, 1));
}

TEST_F(ResetScheduleTest, MonthlyPointMissedWhileStoppedIsMadeUp)
{
    Monthly(15);
    DATE start = DateOf(2026, 1, 20, 10);
    EXPECT_FALSE(Due(start, 2026, 1, 31, 12, 0, 0));
    EXPECT_FALSE(Due(start, 2026, 2, 15, 0, 0, 0));
    // Started again on 10 March: 15 February passed while stopped and closes its period.
    EXPECT_TRUE(Due(start, 2026, 3, 10, 12, 0, 0));
    // Counted since exactly that point: it closed nothing of these totals.
    EXPECT_FALSE(Due(DateOf(2026, 2, 15), 2026, 3, 10, 12, 0, 0));
    // Reset since then: 15 March is the next point, and not before it has passed.
    DATE reset = DateOf(2026, 3, 10, 12);
    EXPECT_FALSE(Due(reset, 2026, 3, 15, 0, 0, 0));
    EXPECT_TRUE(Due(reset, 2026, 3, 15, 0, 0, 1));
    // Across the new year, and onto a shorter month: 31 December's point closes December.
    Monthly(31);
    EXPECT_TRUE(Due(DateOf(2025, 12, 20), 2026, 1, 5, 8, 0, 0));
    EXPECT_FALSE(Due(DateOf(2026, 1, 1), 2026, 1, 5, 8, 0, 0));
    EXPECT_TRUE(Due(DateOf(2026, 1, 31, 0, 0, 1) - 1, 2026, 2, 3, 8, 0, 0));
}

TEST_F(ResetScheduleTest, OnADateOnceAndAtItsTimeOfDay)
{
    OnDate(2026, 6, 1);
    DATE start = DateOf(2026, 5, 1);
    EXPECT_FALSE(Due(start, 2026, 5, 31, 23, 59, 59));
    EXPECT_TRUE(Due(start, 2026, 6, 1, 0, 0, 1));
    EXPECT_TRUE(Due(start, 2027, 3, 1, 0, 0, 1));
    EXPECT_FALSE(Due(DateOf(2026, 6, 1, 0, 0, 1), 2026, 7, 1, 0, 0, 1));

    OnDate(2026, 6, 1, 14, 30);
    EXPECT_FALSE(Due(start, 2026, 6, 1, 14, 30, 0));
    EXPECT_TRUE(Due(start, 2026, 6, 1, 14, 30, 1));
}

TEST_F(ResetScheduleTest, NeverAndUnknownTypesAreNeverDue)
{
    Settings.ResetType = ResetNever;
    EXPECT_FALSE(Due(DateOf(2000, 1, 1), 2026, 12, 7, 0, 0, 1));
    Settings.ResetType = 7;
    EXPECT_FALSE(Due(DateOf(2000, 1, 1), 2026, 12, 7, 0, 0, 1));
}

TEST_F(ResetScheduleTest, APointThatIsNoDateIsNeverDue)
{
    // The dialog stores day 0 when OK is pressed without a day chosen.
    Monthly(0);
    EXPECT_FALSE(Due(DateOf(2000, 1, 1), 2026, 12, 7, 0, 0, 1));
    EXPECT_FALSE(Due(DateOf(2026, 11, 30), 2026, 12, 1, 0, 0, 1));

    // A bare day under "ResetDate" with the on-date type: the year is 0.
    OnDate(0, 0, 15);
    EXPECT_FALSE(Due(DateOf(2000, 1, 1), 2026, 12, 15, 0, 0, 1));
    OnDate(2026, 13, 1);
    EXPECT_FALSE(Due(DateOf(2000, 1, 1), 2027, 2, 1, 0, 0, 1));
    OnDate(2026, 2, 30);
    EXPECT_FALSE(Due(DateOf(2000, 1, 1), 2026, 3, 5, 0, 0, 1));
}

}  // namespace
