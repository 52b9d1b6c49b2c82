// The civil (proleptic Gregorian) calendar as whole day numbers: leap years, month lengths,
// and days since 1 January 1970, for the reset schedule and the usage history alike.
#ifndef BRISVANE_CALENDARDAYS_H
#define BRISVANE_CALENDARDAYS_H

#define MONTHS_PER_YEAR 12

int IsLeapYear(int year);
// The days of the month, February by the year; 0 for a month that is none.
int DaysInMonthOf(int year, int month);
// Days since 1 January 1970 of a valid date of year 0 or later (negative before 1970).
int DayNumber(int year, int month, int day);
void DayToDate(int dayNumber, int* year, int* month, int* day);

#endif
