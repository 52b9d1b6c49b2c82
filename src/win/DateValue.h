// Local times as the platform's date values (days since 30 December 1899, the time of day as
// the fraction): the one conversion the program makes of a moment it reads from the clock.
#ifndef BRISVANE_DATEVALUE_H
#define BRISVANE_DATEVALUE_H

#include <windows.h>
#include <wtypes.h>  // DATE

// A local time as a date value (days since 30 December 1899, the time of day as the fraction)
// to the whole second, computed as the platform's variant conversion does. False when the time is
// no valid date.
bool TimeToDate(const SYSTEMTIME* time, DATE* date);
// The way back, rounded to the nearest second (milliseconds 0), with the day of the week. False
// outside the years 100 to 9999, as the platform's conversion. Ours, so that the program need not
// load the OLE automation libraries (1.3 MB of memory under Wine) for two lines of arithmetic.
bool DateToTime(DATE date, SYSTEMTIME* time);

#endif
