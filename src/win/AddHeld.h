// Byte counts that add up without wrapping: a sum past the largest count stays there.
#ifndef BRISVANE_ADDHELD_H
#define BRISVANE_ADDHELD_H

#include "Units.h"

inline unsigned __int64 AddHeld(unsigned __int64 a, unsigned __int64 b)
{
    return a > MAX_BYTE_COUNT - b ? MAX_BYTE_COUNT : a + b;
}

#endif
