// The forecast's rules: the period each reset schedule makes, the early warning's rule (once a
// period, not too early, never during the alert, off when switched off) and its INI section.
#include <gtest/gtest.h>

#include <string>

#include "CalendarDays.h"
#include "ForecastWarning.h"
#include "IniDocument.h"
#include "PeriodRules.h"
#include "Settings.h"
#include "TestSupport.h"

namespace {

const unsigned long long GB = 1000000000ULL;
const int Day = SECONDS_PER_DAY;

int Date(int year, int month, int day)
{
    return DayNumber(year, month, day);
}
int Dec(int day)
{
    return Date(2026, 12, day);
}

PeriodSpan Span(const SettingsRecord& settings, int today, int since = NO_DAY)
{
    PeriodSpan span = {0, 0};
    EXPECT_EQ(1, CurrentPeriodSpan(settings, today, since, &span));
    return span;
}

void ExpectSpan(int first, int last, PeriodSpan span)
{
    EXPECT_EQ(first, span.First);
    EXPECT_EQ(last, span.Last);
}

SettingsRecord OnDate(int day, int hour)
{
    SettingsRecord settings;
    settings.ResetType = ResetOnDate;
    settings.ResetDate.wYear = 2026;
    settings.ResetDate.wMonth = 12;
    settings.ResetDate.wDay = (WORD)day;
    settings.ResetDate.wHour = (WORD)hour;
    return settings;
}

PeriodForecast Forecast(unsigned long long in, PeriodSpan span, int today, int seconds)
{
    PeriodForecast forecast;
    EXPECT_EQ(1, ForecastPeriod(in, 0, span, NO_DAY, today, seconds, &forecast));
    return forecast;
}

}  // namespace

TEST(ForecastPeriodOfSchedule, EachResetScheduleMakesItsPeriod)
{
    SettingsRecord daily;
    daily.ResetType = ResetDaily;
    ExpectSpan(Dec(8), Dec(8), Span(daily, Dec(8)));

    SettingsRecord monthly;
    monthly.ResetType = ResetMonthly;
    monthly.ResetDate.wDay = 15;
    ExpectSpan(Date(2026, 11, 15), Dec(14), Span(monthly, Dec(8)));
    ExpectSpan(Dec(15), Date(2027, 1, 14), Span(monthly, Dec(15)));  // the reset was today
    monthly.ResetDate.wDay = 31;  // February's last day stands for the 31st
    ExpectSpan(Date(2027, 1, 31), Date(2027, 2, 27), Span(monthly, Date(2027, 2, 10)));
    monthly.ResetDate.wDay = 0;  // no day: such a reset never comes
    ExpectSpan(Dec(1), Dec(31), Span(monthly, Dec(8)));

    SettingsRecord never;
    ExpectSpan(Dec(1), Dec(31), Span(never, Dec(8)));

    // A date: from the last reset to the day before the reset point, or to the point's own
    // day when it has a time of day; the month's start when the last reset is unknown.
    ExpectSpan(Dec(3), Dec(19), Span(OnDate(20, 0), Dec(8), Dec(3)));
    ExpectSpan(Dec(3), Dec(20), Span(OnDate(20, 12), Dec(8), Dec(3)));
    ExpectSpan(Dec(1), Dec(19), Span(OnDate(20, 0), Dec(8)));
    ExpectSpan(Dec(3), Dec(8), Span(OnDate(8, 18), Dec(8), Dec(3)));
    // Past, or at midnight today: no reset is ahead, and the month is the period.
    ExpectSpan(Dec(1), Dec(31), Span(OnDate(8, 0), Dec(8), Dec(3)));
    ExpectSpan(Date(2027, 1, 1), Date(2027, 1, 31), Span(OnDate(20, 0), Date(2027, 1, 5)));
}

TEST(ForecastWarningRule, OncePerPeriodNotEarlyNotDuringTheAlertAndOnlyWhenOn)
{
    const PeriodSpan december = {Dec(1), Dec(31)};
    PeriodLimits limits = {30 * GB, 0, 0};
    ForecastWarningState state = {1, NO_DAY};
    LimitPick pick;
    PeriodForecast passing = Forecast(10 * GB, december, Dec(10), Day);  // 31 GB at the end
    ASSERT_EQ(1, DecideForecastWarning(passing, limits, 0, state, &pick));
    EXPECT_STREQ("IN", pick.Name);
    EXPECT_EQ(31 * GB, pick.AtEnd);

    ForecastWarningState warned = {1, Dec(1)};
    EXPECT_EQ(0, DecideForecastWarning(passing, limits, 0, warned, &pick));
    ForecastWarningState lastPeriod = {1, Date(2026, 11, 1)};
    EXPECT_EQ(1, DecideForecastWarning(passing, limits, 0, lastPeriod, &pick));
    EXPECT_EQ(0, DecideForecastWarning(passing, limits, 1, state, &pick));  // the alert is on
    ForecastWarningState off = {0, NO_DAY};
    EXPECT_EQ(0, DecideForecastWarning(passing, limits, 0, off, &pick));
    PeriodLimits roomy = {40 * GB, 0, 0};
    EXPECT_EQ(0, DecideForecastWarning(passing, roomy, 0, state, &pick));
    PeriodLimits unset = {0, 0, 0};
    EXPECT_EQ(0, DecideForecastWarning(passing, unset, 0, state, &pick));

    // Not before a tenth of the period: 3.1 days of December's 31.
    const int tenth = 3 * Day + Day / 10;
    EXPECT_EQ(0, DecideForecastWarning(Forecast(10 * GB, december, Dec(4), tenth - 3 * Day - 1),
                                       limits, 0, state, &pick));
    EXPECT_EQ(1, DecideForecastWarning(Forecast(10 * GB, december, Dec(4), tenth - 3 * Day), limits,
                                       0, state, &pick));
    // A one-day period: a tenth of the day.
    const PeriodSpan today = {Dec(8), Dec(8)};
    EXPECT_EQ(0, DecideForecastWarning(Forecast(10 * GB, today, Dec(8), Day / 10 - 1), limits, 0,
                                       state, &pick));
    EXPECT_EQ(1, DecideForecastWarning(Forecast(10 * GB, today, Dec(8), Day / 10), limits, 0,
                                       state, &pick));
}

TEST(ForecastWarningRule, SwitchAndMarkAreKeptInTheirOwnSection)
{
    TempFolder folder;
    std::string ini = folder.Path("Brisvane.INI");
    ForecastWarningState state = {0, 0};
    ReadForecastState(ini.c_str(), &state);  // no file: on, never warned
    EXPECT_EQ(1, state.Enabled);
    EXPECT_EQ(NO_DAY, state.WarnedPeriod);

    IniDocument document;
    ASSERT_TRUE(document.Read(ini.c_str()));
    ForecastWarningState saved = {0, Dec(1)};
    ASSERT_TRUE(StoreForecastState(document, saved));
    DWORD error = 0;
    ASSERT_TRUE(document.WriteReplacing(ini.c_str(), &error));
    std::string text = ReadFileText(ini);
    EXPECT_NE(std::string::npos, text.find("[Forecast]")) << text;
    EXPECT_NE(std::string::npos, text.find("Warn=0")) << text;
    EXPECT_NE(std::string::npos, text.find("Warned=2026-12-01")) << text;
    ReadForecastState(ini.c_str(), &state);
    EXPECT_EQ(0, state.Enabled);
    EXPECT_EQ(Dec(1), state.WarnedPeriod);

    // A mark that is no date counts as none.
    WritePrivateProfileStringA("Forecast", "Warned", "2026-13-01", ini.c_str());
    ReadForecastState(ini.c_str(), &state);
    EXPECT_EQ(NO_DAY, state.WarnedPeriod);
}
