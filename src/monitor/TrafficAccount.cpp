#include "TrafficAccount.h"

#define WRAP_LEAST_BITS_PER_SECOND 1000000000.0
#define WRAP_MARGIN 1.02
#define BITS_PER_BYTE 8

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

int CounterGrowth(DWORD now, DWORD last, double mostBytes, DWORD* growth)
{
    *growth = now - last;
    return now >= last || (double)*growth <= mostBytes;
}

double MostBytesInTime(DWORD bitsPerSecond, double seconds)
{
    double speed = (double)bitsPerSecond;
    if (speed < WRAP_LEAST_BITS_PER_SECOND)
        speed = WRAP_LEAST_BITS_PER_SECOND;
    if (seconds < 1)
        seconds = 1;
    return speed / BITS_PER_BYTE * seconds * WRAP_MARGIN;
}

static void CountDirection(DWORD amount, unsigned __int64* total, DWORD* activeCount,
                           DWORD* current, DWORD* peak, DWORD* average)
{
    *current = amount;
    *total += amount;
    if (amount > 0)
        (*activeCount)++;
    if (amount > *peak)
        *peak = amount;
    *average = *activeCount != 0 ? (DWORD)(*total / *activeCount) : 0;
}

void CountGrowth(TrafficFigures* f, DWORD in, DWORD out)
{
    f->CountedIn = in;
    f->CountedOut = out;
    CountDirection(in, &f->Total_in, &f->ActiveCountIn, &f->CurrentIn, &f->PeakIn, &f->AverageIn);
    CountDirection(out, &f->Total_out, &f->ActiveCountOut, &f->CurrentOut, &f->PeakOut,
                   &f->AverageOut);
}
