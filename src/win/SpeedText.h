// Speeds as the speed views show them: a short form that fits a tray icon ("12M" over "210K")
// and words for the speed window and screen readers ("1.25 MB/s", "10.0 Mbit/s").
#ifndef BRISVANE_SPEEDTEXT_H
#define BRISVANE_SPEEDTEXT_H

#include <stddef.h>

// Bits in a byte: the speed views can show bits per second, as internet plans are sold.
const unsigned BitsPerByte = 8;
// The short form's room: four characters and the terminator.
const size_t ShortSpeedChars = 5;
// Room for the words of one speed ("999 Gbit/s").
const size_t SpeedWordsChars = 24;
// Room for the spoken words of one speed ("999 kilobytes per second").
const size_t SpokenSpeedChars = 40;

// The speed in the units shown: bytes per second, or bits per second when bits is set.
unsigned __int64 SpeedInUnits(unsigned __int64 bytesPerSecond, int bits);

// At most four characters, cut (never rounded) to what fits: "999", "1.0K", "210K", "1.2M",
// "10G". No unit is named: the view says whether it counts bytes or bits.
void FormatShortSpeed(unsigned __int64 value, char* buffer, size_t size);

// Three figures, cut: "999 B/s", "1.00 KB/s", "210 KB/s", "1.25 MB/s"; with bits "10.0 Mbit/s".
void FormatSpeedWords(unsigned __int64 value, int bits, char* buffer, size_t size);
// The same figures with the unit in words, for a screen reader: "210 kilobytes per second",
// "10.0 megabits per second", "1 byte per second".
void FormatSpokenSpeed(unsigned __int64 value, int bits, char* buffer, size_t size);

#endif
