// The numbers of the hand-overs of running days to the history file. They go on past the
// largest 64-bit number by wrapping round, and are compared as serial numbers are, so that the
// number after 2^64-1 still counts as the later one. 0 is no hand-over at all and is never used.
#ifndef BRISVANE_HANDOVERNUMBER_H
#define BRISVANE_HANDOVERNUMBER_H

#include <windows.h>

// The number of the hand-over after last (0: none yet).
unsigned __int64 NextHandOver(unsigned __int64 last);
// Whether hand-over a came after b: a is some number and b none, or a lies less than half the
// number range ahead of b.
bool HandOverAfter(unsigned __int64 a, unsigned __int64 b);

#endif
