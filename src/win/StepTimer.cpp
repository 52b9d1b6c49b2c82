#include "StepTimer.h"

#include <windows.h>

#include <stdio.h>

namespace {

const char* const Names[StepCount] = {
    "cycle",          "interface-table", "address-table",      "matching",
    "accounting",     "history-sample",  "save",               "pages",
    "forecast",       "log-check",       "speed-figures",      "speed-window-text",
    "icon-describe",  "icon-draw",       "tip-text",           "tray-hand-over",
    "title",          "history-window",  "speed-window-paint", "layered-update",
    "text-conversion",
};

struct StepTotals {
    long long Calls[StepCount];
    long long Ticks[StepCount];
    long long CycleStart;
    long long Last;  // the last boundary of the open cycle
    bool InCycle;
    bool Started;  // the first cycle has ended: counting has begun
};

StepTotals Totals;
wchar_t OutputPath[MAX_PATH];

bool ReadSwitch()
{
    DWORD length = GetEnvironmentVariableW(L"BRISVANE_STEPS", OutputPath, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

long long Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void Add(CycleStep step, long long ticks)
{
    Totals.Calls[step]++;
    Totals.Ticks[step] += ticks;
}

// Whole, then in one replace, so that a reader never finds half a table.
void WriteTable()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    wchar_t next[MAX_PATH + 8];
    _snwprintf(next, MAX_PATH + 8, L"%ls.new", OutputPath);
    next[MAX_PATH + 7] = 0;
    FILE* file = _wfopen(next, L"w");
    if (file == NULL)
        return;
    for (int i = 0; i < StepCount; i++)
        fprintf(file, "%s %lld %.1f\n", Names[i], Totals.Calls[i],
                (double)Totals.Ticks[i] * 1e6 / (double)frequency.QuadPart);
    bool written = fclose(file) == 0;
    if (written)
        MoveFileExW(next, OutputPath, MOVEFILE_REPLACE_EXISTING);
}

// Writes the table as the program ends.
struct Writer {
    ~Writer()
    {
        if (StepTimingOn)
            WriteTable();
    }
} AtExit;

}  // namespace

const bool StepTimingOn = ReadSwitch();

void StepCycleBeginTimed()
{
    Totals.CycleStart = Totals.Last = Now();
    Totals.InCycle = true;
}

void StepLapTimed(CycleStep step)
{
    // A step's code run outside a cycle (at start, from a menu) is not the cycle's.
    if (!Totals.InCycle || !Totals.Started)
        return;
    long long now = Now();
    Add(step, now - Totals.Last);
    Totals.Last = now;
}

void StepCycleEndTimed()
{
    if (!Totals.InCycle)
        return;
    if (Totals.Started)
        Add(StepCycle, Now() - Totals.CycleStart);
    Totals.InCycle = false;
    Totals.Started = true;
}

long long StepNowTimed()
{
    return Now();
}

void StepAddTimed(CycleStep step, long long from)
{
    if (Totals.Started)
        Add(step, Now() - from);
}
