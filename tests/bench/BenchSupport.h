// What the benchmarks share: time between two counter readings, and the median of a run.
#ifndef BRISVANE_BENCHSUPPORT_H
#define BRISVANE_BENCHSUPPORT_H

#include <windows.h>

#include <algorithm>
#include <vector>

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif
