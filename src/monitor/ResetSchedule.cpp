#include "ResetSchedule.h"

#include "CalendarDays.h"

#define HOURS_PER_DAY 24.0
#define MINUTES_PER_DAY 1440.0
#define SECONDS_PER_DAY 86400.0
// Days from 1 January 1970 back to 30 December 1899, the day 0 of date values.
#define DAYS_1899_TO_1970 25569

int TimeToDate(const SYSTEMTIME* time, DATE* date)
{
    // Checked here because the platforms differ in what they make of day 0 or 31 April.
    if (time->wYear < 100 || time->wYear > 9999 || time->wMonth < 1 || time->wMonth > 12 ||
        time->wDay < 1 || time->wDay > DaysInMonthOf(time->wYear, time->wMonth) ||
        time->wHour > 23 || time->wMinute > 59 || time->wSecond > 59)
        return 0;
    long days = DayNumber(time->wYear, time->wMonth, time->wDay) + DAYS_1899_TO_1970;
    // Before day 0 the time of day still counts forward from the start of the day. Added part
    // by part, as the platform does, so that both give the same value to the last bit.
    double sign = days < 0 ? -1.0 : 1.0;
    double value = (double)days;
    value += time->wHour / HOURS_PER_DAY * sign;
    value += time->wMinute / MINUTES_PER_DAY * sign;
    value += time->wSecond / SECONDS_PER_DAY * sign;
    *date = value;
    return 1;
}

int ResetDue(const SYSTEMTIME* now, const VARIANT* startDay, const SettingsRecord& settings)
{
    if (startDay->vt != VT_DATE || now->wMonth < 1 || now->wMonth > 12)
        return 0;

    SYSTEMTIME point = {};
    switch (settings.ResetType) {
    case ResetDaily:
        point.wYear = now->wYear;
        point.wMonth = now->wMonth;
        point.wDay = now->wDay;
        break;
    case ResetMonthly: {
        int day = settings.ResetDate.wDay;
        int length = DaysInMonthOf(now->wYear, now->wMonth);
        point.wYear = now->wYear;
        point.wMonth = now->wMonth;
        point.wDay = (WORD)(day > length ? length : day);  // day 0 stays no date
        break;
    }
    case ResetOnDate:
        point = settings.ResetDate;
        break;
    default:
        return 0;
    }

    DATE pointDate, nowDate;
    if (!TimeToDate(&point, &pointDate) || !TimeToDate(now, &nowDate))
        return 0;
    if (nowDate > pointDate)
        return startDay->date < pointDate;
    // This month's point is still ahead; last month's, passed while the program was not
    // running, still closes the period it ends.
    if (settings.ResetType == ResetMonthly) {
        SYSTEMTIME last = point;
        last.wYear = (WORD)(now->wMonth == 1 ? now->wYear - 1 : now->wYear);
        last.wMonth = (WORD)(now->wMonth == 1 ? 12 : now->wMonth - 1);
        int day = settings.ResetDate.wDay;
        int length = DaysInMonthOf(last.wYear, last.wMonth);
        last.wDay = (WORD)(day > length ? length : day);
        DATE lastDate;
        return TimeToDate(&last, &lastDate) && startDay->date < lastDate;
    }
    return 0;
}
