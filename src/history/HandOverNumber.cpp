#include "HandOverNumber.h"

unsigned __int64 NextHandOver(unsigned __int64 last)
{
    unsigned __int64 next = last + 1;
    return next != 0 ? next : 1;
}

bool HandOverAfter(unsigned __int64 a, unsigned __int64 b)
{
    if (a == 0)
        return false;
    // The difference taken round the range: ahead by less than half of it is later.
    return b == 0 || (__int64)(a - b) > 0;
}
