#include "ForecastLink.h"

#include "HistoryCalendar.h"
#include "HistoryLink.h"
#include "IniDocument.h"
#include "TrafficAlert.h"
#include "Utf8Text.h"

#define PERCENT 100
#define SECONDS_PER_HOUR 3600
#define SECONDS_PER_MINUTE 60
#define STATE_TEXT_CHARS 32

static PeriodSpan CalendarMonthOf(int today)
{
    int first = PeriodStart(today, ViewMonths, 1);
    PeriodSpan span = {first, NextPeriodStart(first, ViewMonths, 1) - 1};
    return span;
}

int CurrentPeriodSpan(const SettingsRecord& settings, int today, int sinceDay,
                      PeriodSpan* span)
{
    switch (settings.ResetType) {
    case ResetDaily:
        span->First = today;
        span->Last = today;
        return 1;
    case ResetMonthly: {
        int billingDay = BillingDayOfSettings(settings);
        span->First = PeriodStart(today, ViewMonths, billingDay);
        span->Last = PeriodLast(span->First, ViewMonths, billingDay);
        return 1;
    }
    case ResetOnDate: {
        const SYSTEMTIME& point = settings.ResetDate;
        int resetDay;
        if (DayOfTime(&point, &resetDay)) {
            int atMidnight = point.wHour == 0 && point.wMinute == 0 && point.wSecond == 0;
            int last = atMidnight ? resetDay - 1 : resetDay;
            if (last >= today) {
                PeriodSpan month = CalendarMonthOf(today);
                span->First = sinceDay != NO_DAY && sinceDay <= today ? sinceDay : month.First;
                span->Last = last;
                return 1;
            }
        }
        *span = CalendarMonthOf(today);  // no reset ahead: as if there were none
        return 1;
    }
    default:
        *span = CalendarMonthOf(today);
        return 1;
    }
}

PeriodLimits LimitsOfSettings(const SettingsRecord& settings)
{
    PeriodLimits limits = {0, 0, 0};
    if (settings.AlertType == AlertDistinct) {
        limits.In = settings.LimitIN;
        limits.Out = settings.LimitOUT;
        limits.Sum = AddSaturating(settings.LimitIN, settings.LimitOUT);
    } else if (settings.AlertType == AlertTotal) {
        limits.Sum = AddSaturating(settings.LimitIN, settings.LimitOUT);
    }
    return limits;
}

int DecideForecastWarning(const PeriodForecast& forecast, const PeriodLimits& limits,
                          int alertOn, const ForecastWarningState& state, LimitPick* pick)
{
    if (!state.Enabled || alertOn || state.WarnedPeriod == forecast.Span.First)
        return 0;
    // Through enough of the period: the time the pace is taken over against all of it.
    __int64 paced = forecast.PeriodSeconds - forecast.RemainingSeconds;
    if (forecast.PeriodSeconds <= 0 ||
        paced * PERCENT < forecast.PeriodSeconds * FORECAST_WARN_AFTER_PERCENT)
        return 0;
    return PickLimit(forecast, limits, pick) && pick->Passes;
}

void ReadForecastState(const char* iniPath, ForecastWarningState* state)
{
    state->Enabled = 1;
    state->WarnedPeriod = NO_DAY;
    if (iniPath == NULL || iniPath[0] == 0)
        return;
    IniDocument document;
    if (!document.Read(iniPath))
        return;
    char text[STATE_TEXT_CHARS];
    if (document.Get(FORECAST_SECTION, FORECAST_WARN_KEY, text, sizeof(text)))
        state->Enabled = text[0] != '0';
    document.Get(FORECAST_SECTION, FORECAST_WARNED_KEY, text, sizeof(text));
    int day;
    size_t length = 0;
    while (text[length] != 0)
        length++;
    if (ParseIsoDate(text, length, &day))
        state->WarnedPeriod = day;
}

int StoreForecastState(IniDocument& document, const ForecastWarningState& state)
{
    int ok = document.Set(FORECAST_SECTION, FORECAST_WARN_KEY, state.Enabled ? "1" : "0");
    char text[STATE_TEXT_CHARS] = "";
    if (state.WarnedPeriod != NO_DAY)
        FormatIsoDate(state.WarnedPeriod, text, sizeof(text));
    return document.Set(FORECAST_SECTION, FORECAST_WARNED_KEY, text) && ok;
}

int DayOfDateValue(DATE date, int* day)
{
    SYSTEMTIME time;
    return VariantTimeToSystemTime(date, &time) && DayOfTime(&time, day);
}

int SecondsIntoSampleDay(const SYSTEMTIME* time)
{
    int seconds = time->wHour * SECONDS_PER_HOUR + time->wMinute * SECONDS_PER_MINUTE +
                  time->wSecond;
    return seconds == 0 ? SECONDS_PER_DAY : seconds;
}
