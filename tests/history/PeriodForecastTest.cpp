// The period forecast: the pace over the days so far, its edges (first day, a one-day period,
// no traffic, a reset minutes ago, a history younger than the period), the period's sums over
// the file and the running figures, the limit it comes nearest to and the texts.
#include <gtest/gtest.h>

#include <string>

#include "CalendarDays.h"
#include "HistoryTable.h"
#include "PeriodForecast.h"
#include "UsageHistory.h"

namespace {

const unsigned long long GB = 1000000000ULL;
const int Day = SECONDS_PER_DAY;

int Dec(int day)
{
    return DayNumber(2026, 12, day);
}

PeriodForecast Forecast(unsigned long long in, unsigned long long out, PeriodSpan span,
                        int firstKnown, int today, int seconds)
{
    PeriodForecast forecast;
    EXPECT_EQ(1, ForecastPeriod(in, out, span, firstKnown, today, seconds, &forecast));
    return forecast;
}

}  // namespace

TEST(PeriodForecastTest, PaceOfTheDaysSoFarCarriesToThePeriodsEnd)
{
    const PeriodSpan december = {Dec(1), Dec(31)};
    // Ten whole days gave 10 GB in: 21 more at that pace.
    PeriodForecast middle = Forecast(10 * GB, 1 * GB, december, Dec(1), Dec(10), Day);
    EXPECT_EQ(31 * GB, middle.AtEndIn);
    EXPECT_EQ(3100000000ULL, middle.AtEndOut);
    EXPECT_EQ(10LL * Day, middle.PacedSeconds);
    EXPECT_EQ(21LL * Day, middle.RemainingSeconds);
    EXPECT_EQ(31LL * Day, middle.PeriodSeconds);

    // The first day, at noon: half a day's pace for 30.5 more days.
    EXPECT_EQ(62 * GB, Forecast(1 * GB, 0, december, Dec(1), Dec(1), Day / 2).AtEndIn);
    // A period of one day, at six in the morning.
    const PeriodSpan one = {Dec(8), Dec(8)};
    PeriodForecast daily = Forecast(1 * GB, 2 * GB, one, Dec(1), Dec(8), Day / 4);
    EXPECT_EQ(4 * GB, daily.AtEndIn);
    EXPECT_EQ(8 * GB, daily.AtEndOut);
    // No traffic: nothing at the end either.
    PeriodForecast quiet = Forecast(0, 0, december, NO_DAY, Dec(15), Day / 2);
    EXPECT_EQ(0u, quiet.AtEndIn);
    EXPECT_EQ(0u, quiet.AtEndOut);
    // Reset ten minutes ago: the pace is taken over an hour, not over ten minutes.
    PeriodForecast reset = Forecast(100000000ULL, 0, one, Dec(8), Dec(8), 600);
    EXPECT_EQ(3600, reset.PacedSeconds);
    EXPECT_EQ(2483333333ULL, reset.AtEndIn);
    // At midnight the day that ended is all gone.
    EXPECT_EQ(5 * GB, Forecast(5 * GB, 0, one, Dec(8), Dec(8), Day).AtEndIn);
    // A day holds no more seconds than that, a leap second's neither.
    PeriodForecast past = Forecast(1 * GB, 0, december, Dec(1), Dec(1), Day + 1);
    EXPECT_EQ(31 * GB, past.AtEndIn);
    EXPECT_EQ(30LL * Day, past.RemainingSeconds);
}

TEST(PeriodForecastTest, HistoryYoungerThanThePeriodSetsThePaceFromItsFirstDay)
{
    const PeriodSpan december = {Dec(1), Dec(31)};
    PeriodForecast young = Forecast(10 * GB, 0, december, Dec(21), Dec(30), Day);
    EXPECT_EQ(11 * GB, young.AtEndIn);
    EXPECT_EQ(11LL * Day, young.PeriodSeconds);
    // Known only since today: the pace is today's.
    EXPECT_EQ(4 * GB, Forecast(2 * GB, 0, {Dec(1), Dec(4)}, Dec(4), Dec(4), Day / 2).AtEndIn);
    // Older history changes nothing: the period's own start counts.
    EXPECT_EQ(31 * GB, Forecast(10 * GB, 0, december, Dec(1) - 400, Dec(10), Day).AtEndIn);
}

TEST(PeriodForecastTest, RefusesADayOutsideThePeriodAndHoldsHugeCounts)
{
    PeriodForecast forecast;
    const PeriodSpan december = {Dec(1), Dec(31)};
    EXPECT_EQ(0, ForecastPeriod(1, 1, december, NO_DAY, Dec(1) - 1, 0, &forecast));
    EXPECT_EQ(0, ForecastPeriod(1, 1, december, NO_DAY, Dec(31) + 1, 0, &forecast));
    const PeriodSpan backwards = {Dec(5), Dec(4)};
    EXPECT_EQ(0, ForecastPeriod(1, 1, backwards, NO_DAY, Dec(5), 0, &forecast));
    PeriodForecast huge = Forecast(0x8000000000000000ULL, 0, december, Dec(1), Dec(1), Day / 2);
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFULL, huge.AtEndIn);
}

TEST(PeriodForecastTest, SumsTheFilesDaysAndTheRunningFiguresInTheRange)
{
    HistoryTable table;
    ASSERT_TRUE(table.Append(DayNumber(2026, 11, 28), "00-AA", "A", 500, 5));
    ASSERT_TRUE(table.Append(Dec(1), "00-AA", "A", 100, 1));
    ASSERT_TRUE(table.Append(Dec(5), "00-AA", "A", 200, 2));
    ASSERT_TRUE(table.Append(Dec(3), "00-BB", "B", 1000, 10));
    table.Normalize(MergeAdd);
    UsageHistory running;
    ASSERT_TRUE(running.Add(Dec(5), "00-AA", "A", 250, 1));  // the same day again: it adds
    ASSERT_TRUE(running.Add(Dec(6), "00-AA", "A", 30, 3));
    ASSERT_TRUE(running.Add(Dec(7), "00-DD", "D", 9, 9));  // after the range, not yet in the file

    SpanSums sums;
    SumSpanDays(table, &running, "00-AA", Dec(1), Dec(6), &sums);
    EXPECT_EQ(580u, sums.In);
    EXPECT_EQ(7u, sums.Out);
    EXPECT_EQ(DayNumber(2026, 11, 28), sums.FirstKnownDay);
    SumSpanDays(table, &running, NULL, Dec(1), Dec(6), &sums);
    EXPECT_EQ(1580u, sums.In);
    SumSpanDays(table, NULL, "00-AA", Dec(1), Dec(4), &sums);
    EXPECT_EQ(100u, sums.In);
    // An empty range still tells the first known day.
    SumSpanDays(table, &running, "00-BB", Dec(7), Dec(6), &sums);
    EXPECT_EQ(0u, sums.In);
    EXPECT_EQ(Dec(3), sums.FirstKnownDay);
    SumSpanDays(table, &running, "00-CC", Dec(1), Dec(6), &sums);
    EXPECT_EQ(NO_DAY, sums.FirstKnownDay);
    // An adapter that only the running figures know yet is known since their day.
    SumSpanDays(table, &running, "00-DD", Dec(1), Dec(6), &sums);
    EXPECT_EQ(Dec(7), sums.FirstKnownDay);
}

TEST(PeriodForecastTest, PicksThePassedLimitInTheAlertsOrderElseTheNearest)
{
    PeriodForecast forecast = Forecast(10 * GB, 1 * GB, {Dec(1), Dec(31)}, Dec(1), Dec(10), Day);
    LimitPick pick;
    PeriodLimits in = {30 * GB, 0, 0};
    ASSERT_TRUE(PickLimit(forecast, in, &pick));
    EXPECT_STREQ("IN", pick.Name);
    EXPECT_EQ(1, pick.Passes);
    PeriodLimits out = {40 * GB, 3 * GB, 43 * GB};
    ASSERT_TRUE(PickLimit(forecast, out, &pick));
    EXPECT_STREQ("OUT", pick.Name);
    EXPECT_EQ(1, pick.Passes);
    PeriodLimits none = {40 * GB, 5 * GB, 45 * GB};
    ASSERT_TRUE(PickLimit(forecast, none, &pick));
    EXPECT_STREQ("IN", pick.Name);  // 31 of 40 is nearer than 3.1 of 5 or 34.1 of 45
    EXPECT_EQ(0, pick.Passes);
    PeriodLimits sum = {0, 0, 34 * GB};
    ASSERT_TRUE(PickLimit(forecast, sum, &pick));
    EXPECT_STREQ("IN+OUT", pick.Name);
    EXPECT_EQ(11 * GB, pick.SoFar);
    EXPECT_EQ(1, pick.Passes);
    PeriodLimits exact = {31 * GB, 0, 0};  // an estimate exactly at the limit does not pass it
    ASSERT_TRUE(PickLimit(forecast, exact, &pick));
    EXPECT_STREQ("IN", pick.Name);
    EXPECT_EQ(0, pick.Passes);
    PeriodLimits unset = {0, 0, 0};
    EXPECT_EQ(0, PickLimit(forecast, unset, &pick));

    LimitPick left = {"IN", 40 * GB, 10 * GB, 0, 0};
    EXPECT_EQ(1428571429ULL, DailyAllowance(left, 21LL * Day));
    EXPECT_EQ(30 * GB, DailyAllowance(left, Day / 2));  // the last day: all that is left
    LimitPick reached = {"IN", 40 * GB, 41 * GB, 0, 0};
    EXPECT_EQ(0u, DailyAllowance(reached, 21LL * Day));
}

TEST(PeriodForecastTest, TextsOfTheWindowTheTipAndTheWarning)
{
    PeriodForecast forecast = Forecast(10 * GB, 1 * GB, {Dec(1), Dec(31)}, Dec(1), Dec(10), Day);
    char text[FORECAST_LINE_CHARS];
    FormatForecastLine(forecast, NULL, text, sizeof(text));
    EXPECT_STREQ("This period so far: 11.00 GB \xC2\xB7 at this pace: 34.10 GB by 31 Dec", text);
    LimitPick pick;
    PeriodLimits limits = {40 * GB, 0, 0};
    ASSERT_TRUE(PickLimit(forecast, limits, &pick));
    FormatForecastLine(forecast, &pick, text, sizeof(text));
    EXPECT_STREQ("This period so far: IN 10.00 GB \xC2\xB7 at this pace: 31.00 GB by 31 Dec "
                 "\xC2\xB7 limit 40.00 GB \xC2\xB7 about 1.43 GB a day left",
                 text);
    PeriodLimits small = {0, 0, 5 * GB};
    ASSERT_TRUE(PickLimit(forecast, small, &pick));
    FormatForecastLine(forecast, &pick, text, sizeof(text));
    EXPECT_STREQ("This period so far: 11.00 GB \xC2\xB7 at this pace: 34.10 GB by 31 Dec "
                 "\xC2\xB7 limit 5.00 GB reached",
                 text);

    FormatForecastTipLine(forecast, text, sizeof(text));
    EXPECT_STREQ("Period 11.00 GB, 34.10 GB by 31 Dec", text);
    FormatForecastWarning(forecast, pick, text, sizeof(text));
    EXPECT_STREQ("At this pace IN+OUT will reach 34.10 GB of 5.00 GB by 31 Dec", text);
    // A short buffer is cut, never overrun.
    char tiny[12];
    FormatForecastLine(forecast, &pick, tiny, sizeof(tiny));
    EXPECT_EQ(std::string("This period"), tiny);
    FormatShortDate(DayNumber(2027, 1, 1), text, sizeof(text));
    EXPECT_STREQ("1 Jan", text);
}
