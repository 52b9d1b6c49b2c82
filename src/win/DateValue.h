// Local times as the platform's date values (days since 30 December 1899, the time of day as
// the fraction): the one conversion the program makes of a moment it reads from the clock.
#ifndef BRISVANE_DATEVALUE_H
#define BRISVANE_DATEVALUE_H

#include <windows.h>
#include <oleauto.h>

// A local time as a date value (days since 30 December 1899, the time of day as the fraction)
// to the whole second, computed as the platform's variant conversion does. False when the time is
// no valid date.
bool TimeToDate(const SYSTEMTIME* time, DATE* date);

#endif
