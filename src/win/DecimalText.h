// The one reader of unsigned decimal numbers in texts (INI values, history lines, dialog
// fields). The callers decide what may stand around the digits.
#ifndef BRISVANE_DECIMALTEXT_H
#define BRISVANE_DECIMALTEXT_H

#include <stddef.h>

#define NO_LENGTH_LIMIT ((size_t)-1)
#define NO_DECIMAL_LIMIT 0xFFFFFFFFFFFFFFFFULL

enum DecimalResult { DecimalNone = 0, DecimalRead = 1, DecimalOverLimit = 2 };

// Reads the run of digits at the start of text, within length characters (NO_LENGTH_LIMIT for
// a terminated text). DecimalNone, with *value 0, when no digit starts it. Otherwise *digits
// gets the length of the whole run and *value the number; a number above limit gives limit and
// DecimalOverLimit.
int ReadDecimal(const char* text, size_t length, unsigned __int64 limit, unsigned __int64* value,
                size_t* digits);

// A number as the INI file stores it, read by the program and the report alike: blanks and
// tabs, an optional "+", then the digits; what follows them is not looked at. 1 with the number
// (held at limit); 0, with *value 0, when there are no digits or the number is negative.
int ReadStoredNumber(const char* text, unsigned __int64 limit, unsigned __int64* value);

#endif
