#include "ByteAmountText.h"

#include "BoundedText.h"

int FormatByteAmount(unsigned __int64 amount, const char* unit, char* buffer, size_t size)
{
    // Cut to whole thousands or millions first, then print the decimals of the cut value.
    if (amount > 1000000000ULL)
        return BoundedPrint(buffer, size, "%.2f G%s", (double)(amount / 1000000ULL) * 0.001, unit);
    if (amount > 20000000ULL)
        return BoundedPrint(buffer, size, "%u M%s", (unsigned)(amount / 1000000ULL), unit);
    if (amount > 2000000ULL)
        return BoundedPrint(buffer, size, "%.2f M%s", (double)(amount / 1000ULL) * 0.001, unit);
    if (amount > 1000000ULL)
        return BoundedPrint(buffer, size, "%.3f M%s", (double)(amount / 1000ULL) * 0.001, unit);
    if (amount > 1000ULL)
        return BoundedPrint(buffer, size, "%u K%s", (unsigned)(amount / 1000ULL), unit);
    return BoundedPrint(buffer, size, "%u %s", (unsigned)amount, unit);
}

void FormatSpeedText(unsigned __int64 bitsPerSecond, char* buffer, size_t size)
{
    if (bitsPerSecond > 10000000)
        BoundedPrint(buffer, size, "%I64u Mbps", bitsPerSecond / 1000000);
    else if (bitsPerSecond > 10000)
        BoundedPrint(buffer, size, "%I64u Kbps", bitsPerSecond / 1000);
    else
        BoundedPrint(buffer, size, "%I64u bps", bitsPerSecond);
}
