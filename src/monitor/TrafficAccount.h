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

// An adapter's byte counters as one row of the interface table gave them.
struct CounterReading {
    unsigned __int64 InOctets;
    unsigned __int64 OutOctets;
    unsigned __int64 BitsPerSecond;  // the link speed
    int Wide;                        // 64-bit counters; else only the low 32 bits count
    ULONGLONG Tick;                  // when it was read, in monotonic milliseconds
};

// The bytes moved between two readings of the same adapter, in both directions: 1 with the
// growth, or 0 when the sample must count nothing in either direction. A 64-bit counter below
// its last value was reset. A 32-bit one below its last value wrapped once only when the
// adapter was present in the cycle before, at most one wrap fits the time passed at its speed,
// and the difference is within what it can move in that time; otherwise it was reset too.
int MeasureGrowth(const CounterReading* last, const CounterReading* now, int presentBefore,
                  unsigned __int64* in, unsigned __int64* out);

// The most bytes an adapter of that speed (taken as at least a gigabit) can move in that many
// milliseconds (taken as at least a second), with a margin: the bound of a plausible wrap.
double MostBytesInTime(unsigned __int64 bitsPerSecond, ULONGLONG milliseconds);

// Counts one sample's growth in both directions: the totals take it whole; current, peak and
// average are 32-bit figures and stop at their largest value.
void CountGrowth(TrafficFigures* figures, unsigned __int64 in, unsigned __int64 out);

#endif
