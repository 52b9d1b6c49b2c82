#include "DateValue.h"

#include <math.h>

#include "CalendarDays.h"
#include "Units.h"

// Days from 1 January 1970 back to 30 December 1899, the day 0 of date values.
constexpr long DAYS_1899_TO_1970 = 25569;
// The platform's range of date values: 1 January 100 to 31 December 9999, its last day whole.
constexpr double FIRST_DATE = -657434.0;
constexpr double LAST_DATE = 2958465.0;
constexpr int DAYS_PER_WEEK = 7;
constexpr int THURSDAY = 4;  // 1 January 1970

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

bool DateToTime(DATE date, SYSTEMTIME* time)
{
    if (!(date > FIRST_DATE - 1.0 && date < LAST_DATE + 1.0))  // NaN too
        return false;
    // The day toward 0; before day 0 the fraction still counts forward from the day's start.
    const double dayPart = date < 0 ? ceil(date) : floor(date);
    long seconds = lround(fabs(date - dayPart) * SECONDS_PER_DAY);
    long day = (long)dayPart - DAYS_1899_TO_1970;
    if (seconds >= SECONDS_PER_DAY) {
        seconds -= SECONDS_PER_DAY;
        day++;
    }
    int year, month, dayOfMonth;
    DayToDate((int)day, &year, &month, &dayOfMonth);
    if (year > 9999)
        return false;
    time->wYear = (WORD)year;
    time->wMonth = (WORD)month;
    time->wDay = (WORD)dayOfMonth;
    time->wDayOfWeek = (WORD)(((day % DAYS_PER_WEEK) + DAYS_PER_WEEK + THURSDAY) % DAYS_PER_WEEK);
    time->wHour = (WORD)(seconds / SECONDS_PER_HOUR);
    time->wMinute = (WORD)(seconds / SECONDS_PER_MINUTE % MINUTES_PER_HOUR);
    time->wSecond = (WORD)(seconds % SECONDS_PER_MINUTE);
    time->wMilliseconds = 0;
    return true;
}
