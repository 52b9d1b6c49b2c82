#include "ForecastKeeper.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"

ForecastKeeper::ForecastKeeper()
    : Warning{1, NO_DAY}, TableRead(0), Worked(0), LastTick(0), Today(0), FinishedVersion(0)
{
}

int ForecastKeeper::Due(ULONGLONG tick, int today, DWORD finishedVersion) const
{
    return !Worked || today != Today || finishedVersion != FinishedVersion ||
           tick - LastTick >= FORECAST_EVERY_MS;
}

void ForecastKeeper::BeginRound(ULONGLONG tick, int today, DWORD finishedVersion)
{
    if (!Worked || today != Today || finishedVersion != FinishedVersion)
        Bases.Free();
    Worked = 1;
    LastTick = tick;
    Today = today;
    FinishedVersion = finishedVersion;
}

ForecastBase* ForecastKeeper::BaseOf(const char* name, PeriodSpan span,
                                     const UsageHistory& history, const char* historyPath)
{
    ForecastBase* base = NULL;
    for (ForecastBase& kept : Bases) {
        if (strcmp(kept.Name, name) == 0) {
            base = &kept;
            break;
        }
    }
    if (base != NULL && base->Span.First == span.First && base->Span.Last == span.Last)
        return base;
    if (base == NULL) {
        base = Bases.AppendZeroed();
        if (base == NULL)
            return NULL;
        CopyText(base->Name, sizeof(base->Name), name);
    }
    // Read at most once a round; a file that cannot be read counts as no finished days.
    if (!TableRead) {
        int skipped = 0;
        if (historyPath == NULL || historyPath[0] == 0 || !Table.ReadFile(historyPath, &skipped))
            Table.Clear();
        TableRead = 1;
    }
    base->Span = span;
    SumSpanDays(Table, &history, name, span.First, Today - 1, &base->BeforeToday);
    return base;
}

const PeriodForecast* ForecastKeeper::Update(const char* name, PeriodSpan span,
                                             const UsageHistory& history,
                                             const char* historyPath, int secondsToday)
{
    ForecastBase* base = BaseOf(name, span, history, historyPath);
    if (base == NULL)
        return NULL;
    unsigned __int64 in = base->BeforeToday.In, out = base->BeforeToday.Out;
    int firstKnown = base->BeforeToday.FirstKnownDay;
    for (const RunningDay& entry : history.Running) {
        if (entry.Day != Today || strcmp(entry.Mac, name) != 0)
            continue;
        in = AddHeld(in, entry.In);
        out = AddHeld(out, entry.Out);
        // The base may have been summed before today's first figure of the adapter.
        NoteKnownDay(entry.Day, &firstKnown);
    }
    base->HasLatest = ForecastPeriod(in, out, span, firstKnown, Today, secondsToday,
                                     &base->Latest);
    return base->HasLatest ? &base->Latest : NULL;
}

void ForecastKeeper::EndRound()
{
    if (TableRead)
        Table.Clear();
    TableRead = 0;
}

const PeriodForecast* ForecastKeeper::LatestOf(const char* name) const
{
    for (const ForecastBase& kept : Bases)
        if (kept.HasLatest && strcmp(kept.Name, name) == 0)
            return &kept.Latest;
    return NULL;
}
