#include "ResetSchedule.h"

#define HOURS_PER_DAY 24.0
#define MINUTES_PER_DAY 1440.0
#define SECONDS_PER_DAY 86400.0
// Days from 1 January 1970 back to 30 December 1899, the day 0 of date values.
#define DAYS_1899_TO_1970 25569

short DaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

static int IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

void ApplyLeapYear(int year)
{
    if (IsLeapYear(year))
        DaysInMonth[2] = 29;
}

static int MonthLength(int year, int month)
{
    // February by the year asked for: a program started in a leap year may run into the next.
    static const short lengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2)
        return IsLeapYear(year) ? 29 : 28;
    return lengths[month];
}

int TimeToDate(const SYSTEMTIME* time, DATE* date)
{
    // Checked here because the platforms differ in what they make of day 0 or 31 April.
    if (time->wYear < 100 || time->wYear > 9999 || time->wMonth < 1 || time->wMonth > 12 ||
        time->wDay < 1 || time->wDay > MonthLength(time->wYear, time->wMonth) ||
        time->wHour > 23 || time->wMinute > 59 || time->wSecond > 59)
        return 0;
    // Days of the civil calendar since 1970 (the proleptic Gregorian calendar, with March as
    // the first month of the year so that February's leap day comes last).
    long year = time->wYear - (time->wMonth <= 2 ? 1 : 0);
    long era = year / 400;
    long yearOfEra = year - era * 400;
    long month = time->wMonth > 2 ? time->wMonth - 3 : time->wMonth + 9;
    long dayOfYear = (153 * month + 2) / 5 + time->wDay - 1;
    long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    long days = era * 146097 + dayOfEra - 719468 + DAYS_1899_TO_1970;
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
        int length = MonthLength(now->wYear, now->wMonth);
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
        int length = MonthLength(last.wYear, last.wMonth);
        last.wDay = (WORD)(day > length ? length : day);
        DATE lastDate;
        return TimeToDate(&last, &lastDate) && startDay->date < lastDate;
    }
    return 0;
}
