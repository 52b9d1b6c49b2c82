// The units the program counts in, named once for every layer.
#ifndef BRISVANE_UNITS_H
#define BRISVANE_UNITS_H

constexpr int SECONDS_PER_MINUTE = 60;
constexpr int MINUTES_PER_HOUR = 60;
constexpr int HOURS_PER_DAY = 24;
constexpr int SECONDS_PER_HOUR = SECONDS_PER_MINUTE * MINUTES_PER_HOUR;
constexpr int MINUTES_PER_DAY = MINUTES_PER_HOUR * HOURS_PER_DAY;
constexpr int SECONDS_PER_DAY = SECONDS_PER_HOUR * HOURS_PER_DAY;
constexpr int MS_PER_SECOND = 1000;

// Traffic goes in decimal steps, as the byte amounts show it and the limits are entered.
constexpr unsigned long long KILOBYTE = 1000ULL;
constexpr unsigned long long MEGABYTE = 1000ULL * KILOBYTE;
constexpr unsigned long long GIGABYTE = 1000ULL * MEGABYTE;
constexpr int BITS_PER_BYTE = 8;
// The largest byte count: sums and estimates past it stay there (AddHeld.h).
constexpr unsigned long long MAX_BYTE_COUNT = 0xFFFFFFFFFFFFFFFFULL;

constexpr int PERCENT = 100;

// U+FFFD, what stands for a character that cannot be read, and its UTF-8 form.
constexpr unsigned REPLACEMENT_CHARACTER = 0xFFFDu;
constexpr char REPLACEMENT_CHARACTER_UTF8[] = "\xEF\xBF\xBD";

#endif
