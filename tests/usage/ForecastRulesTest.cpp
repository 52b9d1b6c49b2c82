// The forecast's rules: the period each reset schedule makes, the early warning's rule (once per
// adapter and period, not too early, never during the alert, off when switched off) and its INI
// section.
#include <gtest/gtest.h>

#include <string>

#include "CalendarDays.h"
#include "ForecastWarning.h"
#include "IniDocument.h"
#include "PeriodRules.h"
#include "Settings.h"
#include "TestSupport.h"

namespace {

// The warning's state as a start reads it from the INI file.
void ReadStateFrom(const std::string& ini, ForecastWarningState* state)
{
    IniDocument document;
    document.Read(ini.c_str());
    ReadForecastState(document, state);
}

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

TEST(ForecastWarningRule, OncePerAdapterAndPeriodNotEarlyNotDuringTheAlertAndOnlyWhenOn)
{
    const PeriodSpan december = {Dec(1), Dec(31)};
    PeriodLimits limits = {30 * GB, 0, 0};
    ForecastWarningState state;  // on, never warned
    LimitPick pick;
    PeriodForecast passing = Forecast(10 * GB, december, Dec(10), Day);  // 31 GB at the end
    ASSERT_EQ(1, DecideForecastWarning(passing, limits, 0, state, "00-AA", &pick));
    EXPECT_STREQ("IN", pick.Name);
    EXPECT_EQ(31 * GB, pick.AtEnd);

    // Once per adapter and period.
    ForecastWarningState warned;
    ASSERT_EQ(1, MarkForecastWarned(&warned, "00-AA", Dec(1)));
    EXPECT_EQ(0, DecideForecastWarning(passing, limits, 0, warned, "00-AA", &pick));
    EXPECT_EQ(1, DecideForecastWarning(passing, limits, 0, warned, "00-BB", &pick));
    ASSERT_EQ(1, MarkForecastWarned(&warned, "00-AA", Date(2026, 11, 1)));
    EXPECT_EQ(1, DecideForecastWarning(passing, limits, 0, warned, "00-AA", &pick));
    // The alert is on.
    EXPECT_EQ(0, DecideForecastWarning(passing, limits, 1, state, "00-AA", &pick));
    ForecastWarningState off;
    off.Enabled = 0;
    EXPECT_EQ(0, DecideForecastWarning(passing, limits, 0, off, "00-AA", &pick));
    PeriodLimits roomy = {40 * GB, 0, 0};
    EXPECT_EQ(0, DecideForecastWarning(passing, roomy, 0, state, "00-AA", &pick));
    PeriodLimits unset = {0, 0, 0};
    EXPECT_EQ(0, DecideForecastWarning(passing, unset, 0, state, "00-AA", &pick));

    // Not before a tenth of the period: 3.1 days of December's 31.
    const int tenth = 3 * Day + Day / 10;
    EXPECT_EQ(0, DecideForecastWarning(Forecast(10 * GB, december, Dec(4), tenth - 3 * Day - 1),
                                       limits, 0, state, "00-AA", &pick));
    EXPECT_EQ(1, DecideForecastWarning(Forecast(10 * GB, december, Dec(4), tenth - 3 * Day), limits,
                                       0, state, "00-AA", &pick));
    // A one-day period: a tenth of the day.
    const PeriodSpan today = {Dec(8), Dec(8)};
    EXPECT_EQ(0, DecideForecastWarning(Forecast(10 * GB, today, Dec(8), Day / 10 - 1), limits, 0,
                                       state, "00-AA", &pick));
    EXPECT_EQ(1, DecideForecastWarning(Forecast(10 * GB, today, Dec(8), Day / 10), limits, 0,
                                       state, "00-AA", &pick));
}

TEST(ForecastWarningRule, SwitchAndMarkAreKeptInTheirOwnSection)
{
    TempFolder folder;
    std::string ini = folder.Path("Brisvane.INI");
    ForecastWarningState state;
    state.Enabled = 0;
    state.WarnedPeriod = 0;
    IniDocument none;
    ReadForecastState(none, &state);  // no file: on, never warned
    EXPECT_EQ(1, state.Enabled);
    EXPECT_EQ(NO_DAY, state.WarnedPeriod);

    IniDocument document;
    ASSERT_TRUE(document.Read(ini.c_str()));
    ForecastWarningState saved;
    saved.Enabled = 0;
    saved.WarnedPeriod = Dec(1);
    ASSERT_TRUE(StoreForecastState(document, saved));
    DWORD error = 0;
    ASSERT_TRUE(document.WriteReplacing(ini.c_str(), &error));
    std::string text = ReadFileText(ini);
    EXPECT_NE(std::string::npos, text.find("[Forecast]")) << text;
    EXPECT_NE(std::string::npos, text.find("Warn=0")) << text;
    EXPECT_NE(std::string::npos, text.find("Warned=2026-12-01")) << text;
    IniDocument written;
    ASSERT_TRUE(written.Read(ini.c_str()));
    ReadForecastState(written, &state);
    EXPECT_EQ(0, state.Enabled);
    EXPECT_EQ(Dec(1), state.WarnedPeriod);

    // One key per adapter warned of, beside the one mark of older copies: the marks account
    // for that day, so it stands for no other adapter.
    ASSERT_TRUE(document.Read(ini.c_str()));
    ASSERT_TRUE(MarkForecastWarned(&saved, "00-AA", Dec(1)));
    ASSERT_TRUE(MarkForecastWarned(&saved, "00-BB", Dec(3)));
    saved.WarnedPeriod = Dec(3);
    ASSERT_TRUE(StoreForecastState(document, saved));
    ASSERT_TRUE(document.WriteReplacing(ini.c_str(), &error));
    text = ReadFileText(ini);
    EXPECT_NE(std::string::npos, text.find("Warned 00-AA=2026-12-01\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("Warned 00-BB=2026-12-03\r\n")) << text;
    ReadStateFrom(ini, &state);
    EXPECT_EQ(Dec(3), state.WarnedPeriod);
    EXPECT_EQ(NO_DAY, state.OlderCopyPeriod);
    EXPECT_TRUE(ForecastWarnedOf(state, "00-AA", Dec(1)));
    EXPECT_TRUE(ForecastWarnedOf(state, "00-BB", Dec(3)));
    EXPECT_FALSE(ForecastWarnedOf(state, "00-CC", Dec(3)));
    // An older copy's day, which no adapter's key holds, stands for every adapter.
    WritePrivateProfileStringA("Forecast", "Warned", "2026-12-05", ini.c_str());
    ReadStateFrom(ini, &state);
    EXPECT_TRUE(ForecastWarnedOf(state, "00-CC", Dec(5)));
    EXPECT_FALSE(ForecastWarnedOf(state, "00-CC", Dec(3)));

    // A mark that is no date counts as none.
    WritePrivateProfileStringA("Forecast", "Warned", "2026-13-01", ini.c_str());
    ReadStateFrom(ini, &state);
    EXPECT_EQ(NO_DAY, state.WarnedPeriod);
}
