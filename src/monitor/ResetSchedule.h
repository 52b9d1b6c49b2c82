// When the scheduled counter reset is due, and the month lengths of the monthly reset.
#ifndef BRISVANE_RESETSCHEDULE_H
#define BRISVANE_RESETSCHEDULE_H

#include <windows.h>
#include <oleauto.h>

extern short DaysInMonth[13];

// February gets 29 days when the year is a leap year; nothing sets it back.
void ApplyLeapYear(int year);
// Whether the reset point of Settings.ResetType lies after startDay and at or before now
// (strictly: startDay < point < now). A point that is no valid date is never due.
int ResetDue(const SYSTEMTIME* now, const VARIANT* startDay);

// A time as a date value to the whole second, as the platform converts it on every system.
// 0 when the time is no valid date.
int TimeToDate(const SYSTEMTIME* time, DATE* date);

#endif
