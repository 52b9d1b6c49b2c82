#include "HistoryCalendar.h"

#include "BoundedText.h"
#include "DecimalText.h"

#define MAX_ISO_NUMBER 9999

int IsHistoryDate(int year, int month, int day)
{
    return year >= FIRST_HISTORY_YEAR && year <= LAST_HISTORY_YEAR && month >= 1 &&
           month <= MONTHS_PER_YEAR && day >= 1 && day <= DaysInMonthOf(year, month);
}

int DayOfTime(const SYSTEMTIME* time, int* dayNumber)
{
    if (!IsHistoryDate(time->wYear, time->wMonth, time->wDay))
        return 0;
    *dayNumber = DayNumber(time->wYear, time->wMonth, time->wDay);
    return 1;
}

int SampleDay(const SYSTEMTIME* time, int* dayNumber)
{
    if (!DayOfTime(time, dayNumber))
        return 0;
    if (time->wHour == 0 && time->wMinute == 0 && time->wSecond == 0)
        (*dayNumber)--;
    return 1;
}

// Exactly count digits.
static int ReadDigits(const char* text, size_t count, int* value)
{
    unsigned __int64 number;
    size_t digits;
    if (ReadDecimal(text, count, MAX_ISO_NUMBER, &number, &digits) != DecimalRead ||
        digits != count)
        return 0;
    *value = (int)number;
    return 1;
}

int ParseIsoDate(const char* text, size_t length, int* dayNumber)
{
    int year, month, day;
    if (length != ISO_DATE_CHARS || text[4] != '-' || text[7] != '-' ||
        !ReadDigits(text, 4, &year) || !ReadDigits(text + 5, 2, &month) ||
        !ReadDigits(text + 8, 2, &day) || !IsHistoryDate(year, month, day))
        return 0;
    *dayNumber = DayNumber(year, month, day);
    return 1;
}

int FormatIsoDate(int dayNumber, char* buffer, size_t size)
{
    int year, month, day;
    DayToDate(dayNumber, &year, &month, &day);
    return BoundedPrint(buffer, size, "%04d-%02d-%02d", year, month, day);
}

int BillingDayOf(int schedule, int resetDay)
{
    // Day 0 is no day: such a monthly reset never comes, and the months stay calendar months.
    if (schedule != MonthlyReset || resetDay < 1)
        return 1;
    return resetDay;
}

// The first day of the billing month (year, month): the billing day, or the month's last day
// when the month is shorter.
static int MonthStart(int year, int month, int billingDay)
{
    return DayNumber(year, month, BillingDayInMonth(year, month, billingDay));
}

int PeriodStart(int dayNumber, int view, int billingDay)
{
    int year, month, day;
    DayToDate(dayNumber, &year, &month, &day);
    switch (view) {
    case ViewMonths: {
        int start = MonthStart(year, month, billingDay);
        if (dayNumber >= start)
            return start;
        StepMonth(&year, &month, -1);
        return MonthStart(year, month, billingDay);
    }
    case ViewYears:
        return DayNumber(year, 1, 1);
    default:
        return dayNumber;
    }
}

static int StepPeriod(int periodStart, int view, int billingDay, int step)
{
    int year, month, day;
    DayToDate(periodStart, &year, &month, &day);
    switch (view) {
    case ViewMonths:
        // The start's own month: a period may start in the month's last days only.
        StepMonth(&year, &month, step);
        return MonthStart(year, month, billingDay);
    case ViewYears:
        return DayNumber(year + step, 1, 1);
    default:
        return periodStart + step;
    }
}

int NextPeriodStart(int periodStart, int view, int billingDay)
{
    return StepPeriod(periodStart, view, billingDay, 1);
}

int PreviousPeriodStart(int periodStart, int view, int billingDay)
{
    return StepPeriod(periodStart, view, billingDay, -1);
}

int FormatPeriodText(int periodStart, int view, int billingDay, char* buffer, size_t size)
{
    int year, month, day;
    DayToDate(periodStart, &year, &month, &day);
    switch (view) {
    case ViewMonths: {
        if (billingDay <= 1)
            return BoundedPrint(buffer, size, "%04d-%02d", year, month);
        char first[ISO_DATE_CHARS + 1], last[ISO_DATE_CHARS + 1];
        FormatIsoDate(periodStart, first, sizeof(first));
        FormatIsoDate(NextPeriodStart(periodStart, view, billingDay) - 1, last, sizeof(last));
        return BoundedPrint(buffer, size, "%s to %s", first, last);
    }
    case ViewYears:
        return BoundedPrint(buffer, size, "%04d", year);
    default:
        return FormatIsoDate(periodStart, buffer, size);
    }
}

int FormatPeriodTitle(int view, int billingDay, char* buffer, size_t size)
{
    switch (view) {
    case ViewMonths:
        if (billingDay > 1)
            return BoundedPrint(buffer, size, "Billing period (from day %d)", billingDay);
        return BoundedPrint(buffer, size, "Month");
    case ViewYears:
        return BoundedPrint(buffer, size, "Year");
    default:
        return BoundedPrint(buffer, size, "Day");
    }
}
