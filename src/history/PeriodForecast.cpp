#include "PeriodForecast.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "ByteAmountText.h"
#include "HistoryCalendar.h"
#include "LanguageResources.h"
#include "TextTemplate.h"
#include "resource.h"

// 2^64 as a double: a result at or past it is held at the largest count.
#define BYTES_LIMIT_AS_DOUBLE 18446744073709551616.0
#define AMOUNT_CHARS 32

void NoteKnownDay(int day, int* firstKnownDay)
{
    if (day < *firstKnownDay)
        *firstKnownDay = day;
}

void SumSpanDays(const HistoryTable& table, const UsageHistory* running, const char* mac,
                 int first, int last, SpanSums* sums, const NameFilter& among)
{
    auto matches = [&](const char* wanted, const char* other) {
        return wanted != NULL ? strcmp(wanted, other) == 0 : !among || among(other);
    };
    sums->In = 0;
    sums->Out = 0;
    sums->FirstKnownDay = NO_DAY;
    for (const HistoryRecord& record : table.Records) {
        if (!matches(mac, table.Names[record.Name].Mac))
            continue;
        NoteKnownDay(record.Day, &sums->FirstKnownDay);
        if (record.Day >= first && record.Day <= last) {
            sums->In = AddHeld(sums->In, record.In);
            sums->Out = AddHeld(sums->Out, record.Out);
        }
    }
    if (running == NULL)
        return;
    for (const RunningDay& entry : running->Running) {
        if (!matches(mac, entry.Mac))
            continue;
        NoteKnownDay(entry.Day, &sums->FirstKnownDay);
        if (entry.Day < first || entry.Day > last)
            continue;
        // A day the file holds as well adds to it, as when the day is written to the file.
        sums->In = AddHeld(sums->In, entry.In);
        sums->Out = AddHeld(sums->Out, entry.Out);
    }
}

// amount * part / whole, rounded, held at the largest count.
static unsigned __int64 Scaled(unsigned __int64 amount, __int64 part, __int64 whole)
{
    if (amount == 0 || part <= 0 || whole <= 0)
        return 0;
    double value = (double)amount * (double)part / (double)whole + 0.5;
    if (value >= BYTES_LIMIT_AS_DOUBLE)
        return MAX_BYTE_COUNT;
    return (unsigned __int64)value;
}

int ForecastPeriod(unsigned __int64 soFarIn, unsigned __int64 soFarOut, PeriodSpan span,
                   int firstKnownDay, int today, int secondsToday, PeriodForecast* forecast)
{
    memset(forecast, 0, sizeof(*forecast));
    if (span.First > span.Last || today < span.First || today > span.Last)
        return 0;
    if (secondsToday < 0)
        secondsToday = 0;
    if (secondsToday > SECONDS_PER_DAY)
        secondsToday = SECONDS_PER_DAY;
    // Before its first day the history knows nothing of the adapter: no pace of zero there.
    int paceFrom = span.First;
    if (firstKnownDay != NO_DAY && firstKnownDay > paceFrom)
        paceFrom = firstKnownDay < today ? firstKnownDay : today;
    forecast->Span = span;
    forecast->SoFarIn = soFarIn;
    forecast->SoFarOut = soFarOut;
    __int64 paced = (__int64)(today - paceFrom) * SECONDS_PER_DAY + secondsToday;
    forecast->PeriodSeconds = (__int64)(span.Last - paceFrom + 1) * SECONDS_PER_DAY;
    forecast->RemainingSeconds =
        (__int64)(span.Last - today + 1) * SECONDS_PER_DAY - secondsToday;
    forecast->PacedSeconds = paced < FORECAST_MIN_PACE_SECONDS ? FORECAST_MIN_PACE_SECONDS : paced;
    forecast->AtEndIn = AddHeld(soFarIn, Scaled(soFarIn, forecast->RemainingSeconds,
                                                forecast->PacedSeconds));
    forecast->AtEndOut = AddHeld(soFarOut, Scaled(soFarOut, forecast->RemainingSeconds,
                                                  forecast->PacedSeconds));
    return 1;
}

// How near the estimate comes to the limit, as a share of it.
static double Share(unsigned __int64 atEnd, unsigned __int64 limit)
{
    return (double)atEnd / (double)limit;
}

int PickLimit(const PeriodForecast& forecast, const PeriodLimits& limits, LimitPick* pick)
{
    const LimitPick candidates[] = {
        {"IN", limits.In, forecast.SoFarIn, forecast.AtEndIn, 0},
        {"OUT", limits.Out, forecast.SoFarOut, forecast.AtEndOut, 0},
        {"IN+OUT", limits.Sum, AddHeld(forecast.SoFarIn, forecast.SoFarOut),
         AddHeld(forecast.AtEndIn, forecast.AtEndOut), 0},
    };
    const LimitPick* nearest = NULL;
    for (const LimitPick& candidate : candidates) {
        if (candidate.Limit == 0)
            continue;
        if (candidate.AtEnd > candidate.Limit) {
            *pick = candidate;
            pick->Passes = 1;
            return 1;
        }
        if (nearest == NULL ||
            Share(candidate.AtEnd, candidate.Limit) > Share(nearest->AtEnd, nearest->Limit))
            nearest = &candidate;
    }
    if (nearest == NULL)
        return 0;
    *pick = *nearest;
    return 1;
}

unsigned __int64 DailyAllowance(const LimitPick& pick, __int64 remainingSeconds)
{
    if (pick.SoFar >= pick.Limit)
        return 0;
    unsigned __int64 left = pick.Limit - pick.SoFar;
    // Less than a day left: all that is left may go today.
    if (remainingSeconds <= SECONDS_PER_DAY)
        return left;
    return Scaled(left, SECONDS_PER_DAY, remainingSeconds);
}

int FormatShortDate(int dayNumber, char* buffer, size_t size)
{
    int year, month, day;
    DayToDate(dayNumber, &year, &month, &day);
    if (month < 1 || month > MONTHS_PER_YEAR)
        return BoundedPrint(buffer, size, "?");
    char dayText[8], monthText[SHORT_DATE_CHARS];
    BoundedPrint(dayText, sizeof(dayText), "%d", day);
    LoadText(IDS_MONTH_FIRST + month - 1, monthText, sizeof(monthText));
    const char* parts[] = {dayText, monthText};
    return FormatText(buffer, size, IDS_SHORT_DATE, parts, 2);
}

static void Amount(unsigned __int64 bytes, char* buffer)
{
    FormatByteAmount(bytes, "B", buffer, AMOUNT_CHARS);
}

int FormatForecastLine(const PeriodForecast& forecast, const LimitPick* pick, char* buffer,
                       size_t size)
{
    char soFar[AMOUNT_CHARS], atEnd[AMOUNT_CHARS], date[SHORT_DATE_CHARS];
    FormatShortDate(forecast.Span.Last, date, sizeof(date));
    // With a limit of IN or OUT alone, the line speaks of that direction; else of both.
    int single = pick != NULL && strcmp(pick->Name, "IN+OUT") != 0;
    Amount(single ? pick->SoFar : AddHeld(forecast.SoFarIn, forecast.SoFarOut), soFar);
    Amount(single ? pick->AtEnd : AddHeld(forecast.AtEndIn, forecast.AtEndOut), atEnd);
    char name[SHORT_DATE_CHARS * 2] = "";
    if (single)
        LoadFlowName(pick->Name, name, sizeof(name));
    const char* line[] = {name, soFar, atEnd, date};
    char soFarLine[FORECAST_LINE_CHARS];
    if (single)
        FormatText(soFarLine, sizeof(soFarLine), IDS_FORECAST_SO_FAR_NAMED, line, 4);
    else
        FormatText(soFarLine, sizeof(soFarLine), IDS_FORECAST_SO_FAR, line + 1, 3);
    char limit[AMOUNT_CHARS] = "", allowance[AMOUNT_CHARS] = "";
    UINT id = 0;
    if (pick != NULL) {
        Amount(pick->Limit, limit);
        Amount(DailyAllowance(*pick, forecast.RemainingSeconds), allowance);
        id = pick->SoFar >= pick->Limit ? IDS_FORECAST_LIMIT_REACHED : IDS_FORECAST_LIMIT_LEFT;
    }
    const char* parts[] = {soFarLine, limit, allowance};
    if (id == 0)
        return ExpandTemplate(buffer, size, "%1", parts, 1);
    return FormatText(buffer, size, id, parts, 3);
}

int FormatForecastTipLine(const PeriodForecast& forecast, char* buffer, size_t size)
{
    char soFar[AMOUNT_CHARS], atEnd[AMOUNT_CHARS], date[SHORT_DATE_CHARS];
    Amount(AddHeld(forecast.SoFarIn, forecast.SoFarOut), soFar);
    Amount(AddHeld(forecast.AtEndIn, forecast.AtEndOut), atEnd);
    FormatShortDate(forecast.Span.Last, date, sizeof(date));
    const char* parts[] = {soFar, atEnd, date};
    return FormatText(buffer, size, IDS_FORECAST_TIP, parts, 3);
}

int FormatForecastWarning(const PeriodForecast& forecast, const LimitPick& pick, char* buffer,
                          size_t size)
{
    char atEnd[AMOUNT_CHARS], limit[AMOUNT_CHARS], date[SHORT_DATE_CHARS];
    Amount(pick.AtEnd, atEnd);
    Amount(pick.Limit, limit);
    FormatShortDate(forecast.Span.Last, date, sizeof(date));
    char name[SHORT_DATE_CHARS * 2];
    LoadFlowName(pick.Name, name, sizeof(name));
    const char* parts[] = {name, atEnd, limit, date};
    return FormatText(buffer, size, IDS_FORECAST_WARNING, parts, 4);
}
