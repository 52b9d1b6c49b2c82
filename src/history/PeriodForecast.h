// Where the current period will end at the pace of its days so far: the period's figures, the
// estimate for its last day, the limit that comes nearest, and the texts that tell of them.
// Plain functions of the figures, the period and the time they are given.
#ifndef BRISVANE_PERIODFORECAST_H
#define BRISVANE_PERIODFORECAST_H

#include <windows.h>
#include <stddef.h>

#include "HistoryTable.h"
#include "Units.h"
#include "UsageHistory.h"

// The pace is never taken over less than an hour: a few minutes' traffic says little of a month.
constexpr int FORECAST_MIN_PACE_SECONDS = SECONDS_PER_HOUR;
#define FORECAST_LINE_CHARS 200
#define FORECAST_TIP_LINE_CHARS 64
#define SHORT_DATE_CHARS 16
#define NO_DAY 0x7FFFFFFF

// The days of a period, both included (HistoryCalendar day numbers).
struct PeriodSpan {
    int First;
    int Last;
};

// The period's bytes so far, and the first day the history knows of the adapter at all.
struct SpanSums {
    unsigned __int64 In;
    unsigned __int64 Out;
    int FirstKnownDay;  // NO_DAY when the history holds nothing of it
};

struct PeriodForecast {
    PeriodSpan Span;
    unsigned __int64 SoFarIn;
    unsigned __int64 SoFarOut;
    unsigned __int64 AtEndIn;   // the estimate for the end of the period's last day
    unsigned __int64 AtEndOut;
    __int64 PacedSeconds;     // the time the pace is taken over (at least an hour)
    __int64 PeriodSeconds;    // the whole period, or its part since the history began
    __int64 RemainingSeconds; // from now to the end of the period's last day
};

// The limits the period is held against, 0 where none is set.
struct PeriodLimits {
    unsigned __int64 In;
    unsigned __int64 Out;
    unsigned __int64 Sum;
};

// The limit a forecast comes nearest to, or passes.
struct LimitPick {
    const char* Name;  // "IN", "OUT" or "IN+OUT"
    unsigned __int64 Limit;
    unsigned __int64 SoFar;
    unsigned __int64 AtEnd;
    int Passes;  // the estimate goes past the limit
};

// The first day the history knows of an adapter is the earliest day of any of its figures, in
// the file or running: takes one more such day into it (NO_DAY: none yet).
void NoteKnownDay(int day, int* firstKnownDay);

// Sums the days of the adapter (null: all adapters) from first to last in the table and the
// running figures; a day in both adds up, as when the day is written to the file. The first known day looks at every day, in the range or not.
// With mac null, among chooses the adapters (empty: all).
void SumSpanDays(const HistoryTable& table, const UsageHistory* running, const char* mac,
                 int first, int last, SpanSums* sums, const NameFilter& among = NameFilter());

// The estimate at the period's end from the bytes so far, taken at today's pace: the days
// since the period began (or since the history first knew the adapter, when later) with the
// seconds of today that have passed. 0 when today lies outside the period.
int ForecastPeriod(unsigned __int64 soFarIn, unsigned __int64 soFarOut, PeriodSpan span,
                   int firstKnownDay, int today, int secondsToday, PeriodForecast* forecast);

// The limit that the estimate passes first (IN, OUT, then IN+OUT, as the alert looks at them),
// else the one it comes nearest to. 0 when no limit is set.
int PickLimit(const PeriodForecast& forecast, const PeriodLimits& limits, LimitPick* pick);

// What can still go each day of the rest of the period without passing the limit.
unsigned __int64 DailyAllowance(const LimitPick& pick, __int64 remainingSeconds);

// "31 Dec".
int FormatShortDate(int dayNumber, char* buffer, size_t size);
// "This period so far: 1.20 GB · at this pace: 3.40 GB by 31 Dec", then, with a limit,
// " · limit 5.00 GB · about 120 MB a day left". A limit of IN or OUT alone names it.
int FormatForecastLine(const PeriodForecast& forecast, const LimitPick* pick, char* buffer,
                       size_t size);
// The tray tip's short line: "Period 1.20 GB, 3.40 GB by 31 Dec".
int FormatForecastTipLine(const PeriodForecast& forecast, char* buffer, size_t size);
// The early warning: "At this pace IN will reach 1.20 GB of 1.00 GB by 31 Dec".
int FormatForecastWarning(const PeriodForecast& forecast, const LimitPick& pick, char* buffer,
                          size_t size);

#endif
