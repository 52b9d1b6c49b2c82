#include "SpeedText.h"

#include "BoundedText.h"

namespace {

const unsigned __int64 Thousand = 1000;
const char* const ShortPrefixes = "KMGTPE";
const char* const ByteUnits[] = {"B/s", "KB/s", "MB/s", "GB/s", "TB/s", "PB/s", "EB/s"};
const char* const BitUnits[] = {"bit/s", "Kbit/s", "Mbit/s", "Gbit/s", "Tbit/s", "Pbit/s", "Ebit/s"};
// As a screen reader says them.
const char* const SpokenByteUnits[] = {
    "bytes per second",     "kilobytes per second", "megabytes per second", "gigabytes per second",
    "terabytes per second", "petabytes per second", "exabytes per second"};
const char* const SpokenBitUnits[] = {
    "bits per second",     "kilobits per second", "megabits per second", "gigabits per second",
    "terabits per second", "petabits per second", "exabits per second"};

// Three figures, cut, and the unit from the table.
void FormatThreeFigures(unsigned __int64 value, const char* const* units, char* buffer,
                        size_t size)
{
    if (value < Thousand) {
        BoundedPrint(buffer, size, "%u %s", (unsigned)value, units[0]);
        return;
    }
    int prefix = 1;
    unsigned __int64 unit = Thousand;
    while (value / unit >= Thousand && prefix < 6) {
        unit *= Thousand;
        prefix++;
    }
    // Hundredths of the unit, without the overflow of multiplying first.
    unsigned __int64 hundredths = value / (unit / 100);
    if (hundredths < 1000)
        BoundedPrint(buffer, size, "%u.%02u %s", (unsigned)(hundredths / 100),
                     (unsigned)(hundredths % 100), units[prefix]);
    else if (hundredths < 10000)
        BoundedPrint(buffer, size, "%u.%u %s", (unsigned)(hundredths / 100),
                     (unsigned)(hundredths % 100 / 10), units[prefix]);
    else
        BoundedPrint(buffer, size, "%I64u %s", hundredths / 100, units[prefix]);
}

}  // namespace

unsigned __int64 SpeedInUnits(unsigned __int64 bytesPerSecond, int bits)
{
    if (!bits)
        return bytesPerSecond;
    // Saturates rather than wrapping: no adapter comes near, but a wrapped figure would lie.
    const unsigned __int64 most = ~0ULL / BitsPerByte;
    return bytesPerSecond > most ? ~0ULL : bytesPerSecond * BitsPerByte;
}

void FormatShortSpeed(unsigned __int64 value, char* buffer, size_t size)
{
    if (value < Thousand) {
        BoundedPrint(buffer, size, "%u", (unsigned)value);
        return;
    }
    // The largest prefix that leaves a whole part of at least 1.
    int prefix = 0;
    unsigned __int64 unit = Thousand;
    while (value / unit >= Thousand && prefix < 5) {
        unit *= Thousand;
        prefix++;
    }
    unsigned __int64 whole = value / unit;
    if (whole < 10) {
        unsigned tenths = (unsigned)((value % unit) / (unit / 10));
        BoundedPrint(buffer, size, "%u.%u%c", (unsigned)whole, tenths, ShortPrefixes[prefix]);
    } else {
        BoundedPrint(buffer, size, "%u%c", (unsigned)whole, ShortPrefixes[prefix]);
    }
}

void FormatSpeedWords(unsigned __int64 value, int bits, char* buffer, size_t size)
{
    FormatThreeFigures(value, bits ? BitUnits : ByteUnits, buffer, size);
}

void FormatSpokenSpeed(unsigned __int64 value, int bits, char* buffer, size_t size)
{
    if (value == 1) {
        BoundedPrint(buffer, size, "%s", bits ? "1 bit per second" : "1 byte per second");
        return;
    }
    FormatThreeFigures(value, bits ? SpokenBitUnits : SpokenByteUnits, buffer, size);
}
