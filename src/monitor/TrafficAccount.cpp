#include "TrafficAccount.h"

#include "Units.h"

#define WRAP_LEAST_BITS_PER_SECOND 1000000000.0
#define WRAP_MARGIN 1.02
#define COUNTER32_RANGE 4294967296.0
#define MAX_FIGURE 0xFFFFFFFFULL

void ClearCounters(TrafficFigures* figures)
{
    figures->Total_in = 0;
    figures->Total_out = 0;
    figures->SampleCount = 0;
    figures->ActiveCountIn = 0;
    figures->ActiveCountOut = 0;
    figures->CurrentIn = 0;
    figures->CurrentOut = 0;
    figures->PeakIn = 0;
    figures->PeakOut = 0;
}

double MostBytesInTime(unsigned __int64 bitsPerSecond, ULONGLONG milliseconds)
{
    double speed = (double)bitsPerSecond;
    if (speed < WRAP_LEAST_BITS_PER_SECOND)
        speed = WRAP_LEAST_BITS_PER_SECOND;
    double seconds = (double)milliseconds / (double)MS_PER_SECOND;
    if (seconds < 1)
        seconds = 1;
    return speed / BITS_PER_BYTE * seconds * WRAP_MARGIN;
}

static int Growth32(unsigned __int64 now, unsigned __int64 last, int presentBefore,
                    double mostBytes, unsigned __int64* growth)
{
    DWORD current = (DWORD)now;
    DWORD previous = (DWORD)last;
    if (current >= previous) {
        *growth = current - previous;
        return 1;
    }
    // More than one wrap could hide in the time passed: the true amount is unknown.
    if (!presentBefore || mostBytes >= COUNTER32_RANGE)
        return 0;
    DWORD wrapped = current - previous;
    if ((double)wrapped > mostBytes)
        return 0;
    *growth = wrapped;
    return 1;
}

int MeasureGrowth(const CounterReading* last, const CounterReading* now, int presentBefore,
                  unsigned __int64* in, unsigned __int64* out)
{
    *in = 0;
    *out = 0;
    if (now->Wide != last->Wide)
        return 0;  // one table then the other: the two readings do not compare
    if (now->Wide) {
        if (now->InOctets < last->InOctets || now->OutOctets < last->OutOctets)
            return 0;
        *in = now->InOctets - last->InOctets;
        *out = now->OutOctets - last->OutOctets;
        return 1;
    }
    ULONGLONG elapsed = now->Tick >= last->Tick ? now->Tick - last->Tick : 0;
    double mostBytes = MostBytesInTime(now->BitsPerSecond, elapsed);
    unsigned __int64 inGrowth, outGrowth;
    if (!Growth32(now->InOctets, last->InOctets, presentBefore, mostBytes, &inGrowth) ||
        !Growth32(now->OutOctets, last->OutOctets, presentBefore, mostBytes, &outGrowth))
        return 0;
    *in = inGrowth;
    *out = outGrowth;
    return 1;
}

static DWORD Saturated(unsigned __int64 value)
{
    return value > MAX_FIGURE ? (DWORD)MAX_FIGURE : (DWORD)value;
}

static void CountDirection(unsigned __int64 amount, unsigned __int64* total, DWORD* activeCount,
                           DWORD* current, DWORD* peak, DWORD* average)
{
    *current = Saturated(amount);
    *total += amount;
    if (amount > 0)
        (*activeCount)++;
    if (*current > *peak)
        *peak = *current;
    *average = *activeCount != 0 ? Saturated(*total / *activeCount) : 0;
}

void CountGrowth(TrafficFigures* f, unsigned __int64 in, unsigned __int64 out)
{
    f->CountedIn = in;
    f->CountedOut = out;
    CountDirection(in, &f->Total_in, &f->ActiveCountIn, &f->CurrentIn, &f->PeakIn, &f->AverageIn);
    CountDirection(out, &f->Total_out, &f->ActiveCountOut, &f->CurrentOut, &f->PeakOut,
                   &f->AverageOut);
}
