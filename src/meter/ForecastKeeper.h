// The running program's forecasts: worked out once a minute, or when the day or the history
// file changed, never every cycle. The bytes of the period's finished days are read from the
// history file once a day and kept per adapter; each minute adds today's running figures.
#ifndef BRISVANE_FORECASTKEEPER_H
#define BRISVANE_FORECASTKEEPER_H

#include <windows.h>

#include "ForecastWarning.h"
#include "GrowArray.h"
#include "HistoryTable.h"
#include "PeriodForecast.h"
#include "UsageHistory.h"

#define FORECAST_EVERY_MS 60000

// One adapter: the period's days before today, and the forecast last worked out.
struct ForecastBase {
    char Name[MAC_TEXT_CHARS];
    PeriodSpan Span;
    SpanSums BeforeToday;
    PeriodForecast Latest;
    int HasLatest;
};

class ForecastKeeper {
public:
    ForecastKeeper();
    ForecastKeeper(const ForecastKeeper&) = delete;
    ForecastKeeper& operator=(const ForecastKeeper&) = delete;

    // Whether the forecasts are due: never worked out, a minute gone, another day, or days
    // moved into the history file since.
    int Due(ULONGLONG tick, int today, DWORD finishedVersion) const;
    // Starts a round; the kept days go when the day or the history file changed.
    void BeginRound(ULONGLONG tick, int today, DWORD finishedVersion);
    // The adapter's forecast for the period, worked out now; null when no memory is left or
    // today lies outside the period.
    const PeriodForecast* Update(const char* name, PeriodSpan span, const UsageHistory& history,
                                 const char* historyPath, int secondsToday);
    // Ends the round: the history file's table is let go of.
    void EndRound();
    // The forecast last worked out for the adapter, or null.
    const PeriodForecast* LatestOf(const char* name) const;

    ForecastWarningState Warning;

private:
    ForecastBase* BaseOf(const char* name, PeriodSpan span, const UsageHistory& history,
                         const char* historyPath);

    GrowArray<ForecastBase> Bases;
    HistoryTable Table;  // held only within a round that needs the file
    int TableRead;
    int Worked;
    ULONGLONG LastTick;
    int Today;
    DWORD FinishedVersion;
};

#endif
