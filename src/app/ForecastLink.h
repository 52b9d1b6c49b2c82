// The program's side of the period forecast: the period the reset schedule makes, the limits
// of the alert rule, the early warning's rule and its section of the INI file.
#ifndef BRISVANE_FORECASTLINK_H
#define BRISVANE_FORECASTLINK_H

#include <windows.h>
#include <oleauto.h>

#include "IniDocument.h"
#include "PeriodForecast.h"
#include "Settings.h"

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

// The period of the reset schedule that holds today: the day for daily; the billing period
// for monthly; from sinceDay (the day the totals were last reset, NO_DAY when unknown: the
// month's first day) to the day before the reset point for a date (the reset day itself when
// the point has a time of day); the calendar month for never, and for a date that has passed.
int CurrentPeriodSpan(const SettingsRecord& settings, int today, int sinceDay,
                      PeriodSpan* span);
// The limits the alert rule holds the totals against (the sum as well for distinct limits).
PeriodLimits LimitsOfSettings(const SettingsRecord& settings);

// 1, with the limit, when the early warning is to be given: it is on, a limit is set and the
// estimate passes it, the period is FORECAST_WARN_AFTER_PERCENT through (of the time the
// history knows of it), the alert itself is off and this period has not been warned of.
int DecideForecastWarning(const PeriodForecast& forecast, const PeriodLimits& limits,
                          int alertOn, const ForecastWarningState& state, LimitPick* pick);

// The section "Forecast": "Warn=1" and "Warned=2026-12-01". Reading never writes.
void ReadForecastState(const char* iniPath, ForecastWarningState* state);
void ReadForecastState(IniDocument& document, ForecastWarningState* state);
int StoreForecastState(IniDocument& document, const ForecastWarningState& state);

// The local day of a date value; 0 when it is none.
int DayOfDateValue(DATE date, int* day);
// Seconds since midnight of a local time, as the usage history counts them: a sample at
// midnight itself belongs to the day that ended (SampleDay), whose seconds are then all gone.
int SecondsIntoSampleDay(const SYSTEMTIME* time);

#endif
