#include "ForecastWarning.h"

#include "HistoryCalendar.h"
#include "IniDocument.h"
#include "Units.h"

#define STATE_TEXT_CHARS 32

bool DecideForecastWarning(const PeriodForecast& forecast, const PeriodLimits& limits,
                           int alertOn, const ForecastWarningState& state, LimitPick* pick)
{
    if (!state.Enabled || alertOn || state.WarnedPeriod == forecast.Span.First)
        return false;
    // Through enough of the period: the time the pace is taken over against all of it.
    __int64 paced = forecast.PeriodSeconds - forecast.RemainingSeconds;
    if (forecast.PeriodSeconds <= 0 ||
        paced * PERCENT < forecast.PeriodSeconds * FORECAST_WARN_AFTER_PERCENT)
        return false;
    return PickLimit(forecast, limits, pick) && pick->Passes;
}

void ReadForecastState(const char* iniPath, ForecastWarningState* state)
{
    state->Enabled = 1;
    state->WarnedPeriod = NO_DAY;
    if (iniPath == NULL || iniPath[0] == 0)
        return;
    IniDocument document;
    if (document.Read(iniPath))
        ReadForecastState(document, state);
}

void ReadForecastState(IniDocument& document, ForecastWarningState* state)
{
    state->Enabled = 1;
    state->WarnedPeriod = NO_DAY;
    char text[STATE_TEXT_CHARS] = "";
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

bool StoreForecastState(IniDocument& document, const ForecastWarningState& state)
{
    bool ok = document.Set(FORECAST_SECTION, FORECAST_WARN_KEY, state.Enabled ? "1" : "0");
    char text[STATE_TEXT_CHARS] = "";
    if (state.WarnedPeriod != NO_DAY)
        FormatIsoDate(state.WarnedPeriod, text, sizeof(text));
    return document.Set(FORECAST_SECTION, FORECAST_WARNED_KEY, text) && ok;
}
