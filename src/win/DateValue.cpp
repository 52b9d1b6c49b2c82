#include "DateValue.h"

#include "CalendarDays.h"
#include "Units.h"

// Days from 1 January 1970 back to 30 December 1899, the day 0 of date values.
constexpr long DAYS_1899_TO_1970 = 25569;

bool TimeToDate(const SYSTEMTIME* time, DATE* date)
{
    // Checked here because the platforms differ in what they make of day 0 or 31 April.
    if (time->wYear < 100 || time->wYear > 9999 || time->wMonth < 1 || time->wMonth > 12 ||
        time->wDay < 1 || time->wDay > DaysInMonthOf(time->wYear, time->wMonth) ||
        time->wHour > 23 || time->wMinute > 59 || time->wSecond > 59)
        return false;
    long days = DayNumber(time->wYear, time->wMonth, time->wDay) + DAYS_1899_TO_1970;
    // Before day 0 the time of day still counts forward from the start of the day. Added part
    // by part, as the platform does, so that both give the same value to the last bit.
    double sign = days < 0 ? -1.0 : 1.0;
    double value = (double)days;
    value += time->wHour / (double)HOURS_PER_DAY * sign;
    value += time->wMinute / (double)MINUTES_PER_DAY * sign;
    value += time->wSecond / (double)SECONDS_PER_DAY * sign;
    *date = value;
    return true;
}
