// The last minute of download and upload speed, and how a graph of it is scaled and where a
// floating window snaps: plain functions, no window.
#ifndef BRISVANE_SPEEDGRAPH_H
#define BRISVANE_SPEEDGRAPH_H

#include <windows.h>
#include <stddef.h>

// One sample a second: a minute of them.
const size_t SpeedHistorySeconds = 60;

// The recent speeds, oldest first once read out.
class SpeedHistory {
public:
    SpeedHistory();
    void Add(unsigned __int64 down, unsigned __int64 up);
    void Clear();
    size_t Count() const { return Used; }
    // The last count samples (fewer when there are fewer), oldest first; returns how many.
    size_t Recent(size_t count, unsigned __int64* down, unsigned __int64* up) const;
    // The newest sample; 0 and 0 when there is none.
    void Latest(unsigned __int64* down, unsigned __int64* up) const;

private:
    unsigned __int64 Down[SpeedHistorySeconds];
    unsigned __int64 Up[SpeedHistorySeconds];
    size_t Next;
    size_t Used;
};

// The heights of a bar graph: each value against the largest of them, but never against less
// than floor, so that a trickle does not fill the graph. A value above 0 gets at least one
// pixel; none gets more than height. Returns the value that a full bar stands for.
unsigned __int64 ScaleGraph(const unsigned __int64* values, size_t count, unsigned __int64 floor,
                            int height, int* heights);

// A window being moved comes to rest against an edge of the work area that it comes within
// distance pixels of; its size stays.
RECT SnapToEdges(const RECT& window, const RECT& workArea, int distance);

#endif
