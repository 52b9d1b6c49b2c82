#include "CalendarDays.h"

#define DAYS_PER_ERA 146097  // 400 Gregorian years
#define DAYS_0000_TO_1970 719468

int IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonthOf(int year, int month)
{
    static const int lengths[MONTHS_PER_YEAR + 1] = {0,  31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};
    if (month < 1 || month > MONTHS_PER_YEAR)
        return 0;
    if (month == 2 && IsLeapYear(year))
        return 29;
    return lengths[month];
}

// Counted with March as the first month, so that a leap day comes last.
int DayNumber(int year, int month, int day)
{
    int y = year - (month <= 2 ? 1 : 0);
    int era = (y >= 0 ? y : y - 399) / 400;
    int yearOfEra = y - era * 400;
    int shifted = month > 2 ? month - 3 : month + 9;
    int dayOfYear = (153 * shifted + 2) / 5 + day - 1;
    int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * DAYS_PER_ERA + dayOfEra - DAYS_0000_TO_1970;
}

void DayToDate(int dayNumber, int* year, int* month, int* day)
{
    int z = dayNumber + DAYS_0000_TO_1970;
    int era = (z >= 0 ? z : z - (DAYS_PER_ERA - 1)) / DAYS_PER_ERA;
    int dayOfEra = z - era * DAYS_PER_ERA;
    int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int shifted = (5 * dayOfYear + 2) / 153;
    *day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    *month = shifted < 10 ? shifted + 3 : shifted - 9;
    *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

void StepMonth(int* year, int* month, int step)
{
    int index = *year * MONTHS_PER_YEAR + (*month - 1) + step;
    *year = index / MONTHS_PER_YEAR;
    *month = index % MONTHS_PER_YEAR + 1;
}

int BillingDayInMonth(int year, int month, int resetDay)
{
    int length = DaysInMonthOf(year, month);
    return resetDay < length ? resetDay : length;
}
