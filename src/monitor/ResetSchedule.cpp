#include "ResetSchedule.h"

#include "Settings.h"

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
    if (month == 2)
        return IsLeapYear(year) ? 29 : 28;
    return DaysInMonth[month];
}

int TimeToDate(const SYSTEMTIME* time, DATE* date)
{
    // Checked here because the platforms differ in what they make of day 0 or 31 April.
    if (time->wYear < 100 || time->wYear > 9999 || time->wMonth < 1 || time->wMonth > 12 ||
        time->wDay < 1 || time->wDay > MonthLength(time->wYear, time->wMonth) ||
        time->wHour > 23 || time->wMinute > 59 || time->wSecond > 59)
        return 0;
    SYSTEMTIME whole = *time;
    whole.wMilliseconds = 0;
    whole.wDayOfWeek = 0;
    return SystemTimeToVariantTime(&whole, date) ? 1 : 0;
}

int ResetDue(const SYSTEMTIME* now, const VARIANT* startDay)
{
    if (startDay->vt != VT_DATE || now->wMonth < 1 || now->wMonth > 12)
        return 0;

    SYSTEMTIME point = {};
    switch (Settings.ResetType) {
    case ResetDaily:
        point.wYear = now->wYear;
        point.wMonth = now->wMonth;
        point.wDay = now->wDay;
        break;
    case ResetMonthly: {
        int day = Settings.ResetDate.wDay;
        int length = MonthLength(now->wYear, now->wMonth);
        point.wYear = now->wYear;
        point.wMonth = now->wMonth;
        point.wDay = (WORD)(day > length ? length : day);  // day 0 stays no date
        break;
    }
    case ResetOnDate:
        point = Settings.ResetDate;
        break;
    default:
        return 0;
    }

    DATE pointDate, nowDate;
    if (!TimeToDate(&point, &pointDate) || !TimeToDate(now, &nowDate))
        return 0;
    return nowDate > pointDate && startDay->date < pointDate;
}
