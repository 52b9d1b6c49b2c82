// The period forecast's early warning: its rule and its section of the INI file.
#ifndef BRISVANE_FORECASTWARNING_H
#define BRISVANE_FORECASTWARNING_H

#include "IniDocument.h"
#include "PeriodForecast.h"

#define FORECAST_SECTION "Forecast"
#define FORECAST_WARN_KEY "Warn"
#define FORECAST_WARNED_KEY "Warned"
// The warning waits until this share of the period has passed: a pace of a few hours says
// little, and the share suits a day as well as a year.
#define FORECAST_WARN_AFTER_PERCENT 10

struct ForecastWarningState {
    int Enabled;       // the tray menu's switch, on by default
    int WarnedPeriod;  // the first day of the period last warned of, NO_DAY for none
};

// True, with the limit, when the early warning is to be given: it is on, a limit is set and the
// estimate passes it, the period is FORECAST_WARN_AFTER_PERCENT through (of the time the
// history knows of it), the alert itself is off and this period has not been warned of.
bool DecideForecastWarning(const PeriodForecast& forecast, const PeriodLimits& limits,
                           int alertOn, const ForecastWarningState& state, LimitPick* pick);

// The section "Forecast": "Warn=1" and "Warned=2026-12-01". Reading never writes.
void ReadForecastState(const char* iniPath, ForecastWarningState* state);
void ReadForecastState(IniDocument& document, ForecastWarningState* state);
bool StoreForecastState(IniDocument& document, const ForecastWarningState& state);

#endif
