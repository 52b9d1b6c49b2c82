// The period forecast's early warning: its rule and its section of the INI file.
#ifndef BRISVANE_FORECASTWARNING_H
#define BRISVANE_FORECASTWARNING_H

#include "GrowArray.h"
#include "HistoryTable.h"
#include "IniDocument.h"
#include "PeriodForecast.h"

#define FORECAST_SECTION "Forecast"
#define FORECAST_WARN_KEY "Warn"
#define FORECAST_WARNED_KEY "Warned"
// The warning waits until this share of the period has passed: a pace of a few hours says
// little, and the share suits a day as well as a year.
#define FORECAST_WARN_AFTER_PERCENT 10

// One adapter warned of: its INI section's name and the first day of its period.
struct ForecastWarnedMark {
    char Name[MAC_TEXT_CHARS];
    int Period;
};

struct ForecastWarningState {
    int Enabled = 1;  // the tray menu's switch, on by default
    // The first day of the period last warned of, whatever the adapter, NO_DAY for none: the
    // one mark older copies know.
    int WarnedPeriod = NO_DAY;
    // The one mark when an older copy wrote it: it stands for every adapter whose period starts
    // on that day. NO_DAY when the marks per adapter account for it.
    int OlderCopyPeriod = NO_DAY;
    GrowArray<ForecastWarnedMark> Marks;  // per adapter: the period last warned of
};

// Whether the adapter (by its section's name) was warned of the period that starts on first.
int ForecastWarnedOf(const ForecastWarningState& state, const char* name, int first);
// Marks the adapter as warned of the period; 0 when no memory is left (the mark then lasts
// only as long as the one an older copy reads).
int MarkForecastWarned(ForecastWarningState* state, const char* name, int first);

// 1, with the limit, when the early warning is to be given: it is on, a limit is set and the
// estimate passes it, the period is FORECAST_WARN_AFTER_PERCENT through (of the time the
// history knows of it), the alert itself is off and this adapter has not been warned of this
// period.
int DecideForecastWarning(const PeriodForecast& forecast, const PeriodLimits& limits,
                          int alertOn, const ForecastWarningState& state, const char* name,
                          LimitPick* pick);

// The section "Forecast": "Warn=1", "Warned=2026-12-01" and one key per adapter warned of,
// "Warned 00-1A-2B-3C-4D-5E=2026-12-01". Reading never writes.
void ReadForecastState(IniDocument& document, ForecastWarningState* state);
bool StoreForecastState(IniDocument& document, const ForecastWarningState& state);

#endif
