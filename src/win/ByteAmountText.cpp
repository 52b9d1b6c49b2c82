#include "ByteAmountText.h"

#include "BoundedText.h"
#include "Units.h"

int FormatByteAmount(unsigned __int64 amount, const char* unit, char* buffer, size_t size)
{
    // Cut to whole thousands or millions first, then print the decimals of the cut value.
    if (amount > GIGABYTE)
        return BoundedPrint(buffer, size, "%.2f G%s", (double)(amount / MEGABYTE) * 0.001, unit);
    if (amount > 20 * MEGABYTE)
        return BoundedPrint(buffer, size, "%u M%s", (unsigned)(amount / MEGABYTE), unit);
    if (amount > 2 * MEGABYTE)
        return BoundedPrint(buffer, size, "%.2f M%s", (double)(amount / KILOBYTE) * 0.001, unit);
    if (amount > MEGABYTE)
        return BoundedPrint(buffer, size, "%.3f M%s", (double)(amount / KILOBYTE) * 0.001, unit);
    if (amount > KILOBYTE)
        return BoundedPrint(buffer, size, "%u K%s", (unsigned)(amount / KILOBYTE), unit);
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
