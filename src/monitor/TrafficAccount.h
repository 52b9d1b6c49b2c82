// The traffic figures of one adapter and the rule that turns the growth of its byte counters
// into them. Plain data and functions: no window, no clock, no settings.
#ifndef BRISVANE_TRAFFICACCOUNT_H
#define BRISVANE_TRAFFICACCOUNT_H

#include <windows.h>

struct TrafficFigures {
    DWORD SampleCount;  // rows applied since creation or the last reset
    DWORD ActiveCountIn;
    DWORD ActiveCountOut;
    unsigned __int64 Total_in;
    unsigned __int64 Total_out;
    DWORD CurrentIn;
    DWORD CurrentOut;
    DWORD PeakIn;
    DWORD PeakOut;
    DWORD AverageIn;
    DWORD AverageOut;
    // What the last applied sample added to the totals (0 when it counted nothing): the day's
    // usage is built from these.
    unsigned __int64 CountedIn;
    unsigned __int64 CountedOut;
};

// Zeroes the nine figures that both resets start again from (averages stay until the next
// counted sample recomputes them).
void ClearCounters(TrafficFigures* figures);

// The growth of a 32-bit octet counter since its last value. A counter below its last value
// either wrapped once, when the difference is no more than mostBytes, or was reset by the
// system; 0 then, and the sample must count nothing.
int CounterGrowth(DWORD now, DWORD last, double mostBytes, DWORD* growth);

// The most bytes an adapter of that speed (at least a gigabit) can move in that many seconds
// (at least one), with a margin: the bound of a plausible wrap.
double MostBytesInTime(DWORD bitsPerSecond, double seconds);

// Counts one sample's growth in both directions: current, totals, active counts, peaks and
// averages.
void CountGrowth(TrafficFigures* figures, DWORD in, DWORD out);

#endif
