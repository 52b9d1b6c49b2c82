#include "SpeedGraph.h"

SpeedHistory::SpeedHistory() : Down(), Up(), Next(0), Used(0) {}

void SpeedHistory::Add(unsigned __int64 down, unsigned __int64 up)
{
    Down[Next] = down;
    Up[Next] = up;
    Next = (Next + 1) % SpeedHistorySeconds;
    if (Used < SpeedHistorySeconds)
        Used++;
}

void SpeedHistory::Clear()
{
    Next = 0;
    Used = 0;
}

size_t SpeedHistory::Recent(size_t count, unsigned __int64* down, unsigned __int64* up) const
{
    if (count > Used)
        count = Used;
    size_t first = (Next + SpeedHistorySeconds - count) % SpeedHistorySeconds;
    for (size_t i = 0; i < count; i++) {
        size_t at = (first + i) % SpeedHistorySeconds;
        down[i] = Down[at];
        up[i] = Up[at];
    }
    return count;
}

void SpeedHistory::Latest(unsigned __int64* down, unsigned __int64* up) const
{
    *down = 0;
    *up = 0;
    if (Used == 0)
        return;
    size_t at = (Next + SpeedHistorySeconds - 1) % SpeedHistorySeconds;
    *down = Down[at];
    *up = Up[at];
}

unsigned __int64 ScaleGraph(const unsigned __int64* values, size_t count, unsigned __int64 floor,
                            int height, int* heights)
{
    unsigned __int64 full = floor > 0 ? floor : 1;
    for (size_t i = 0; i < count; i++)
        if (values[i] > full)
            full = values[i];
    for (size_t i = 0; i < count; i++) {
        if (values[i] == 0 || height <= 0) {
            heights[i] = 0;
            continue;
        }
        // In floating point: value times height could overflow 64 bits.
        int bar = (int)((double)values[i] * height / (double)full + 0.5);
        heights[i] = bar < 1 ? 1 : (bar > height ? height : bar);
    }
    return full;
}

// Where one edge of the window comes to rest: against the area's edge when near it.
static LONG SnapOffset(LONG windowEdge, LONG areaEdge, int distance)
{
    LONG gap = areaEdge - windowEdge;
    return gap >= -distance && gap <= distance ? gap : 0;
}

RECT SnapToEdges(const RECT& window, const RECT& workArea, int distance)
{
    LONG dx = SnapOffset(window.left, workArea.left, distance);
    if (dx == 0)
        dx = SnapOffset(window.right, workArea.right, distance);
    LONG dy = SnapOffset(window.top, workArea.top, distance);
    if (dy == 0)
        dy = SnapOffset(window.bottom, workArea.bottom, distance);
    RECT moved = window;
    OffsetRect(&moved, dx, dy);
    return moved;
}
