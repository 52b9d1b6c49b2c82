// The civil (proleptic Gregorian) calendar as whole day numbers: leap years, month lengths,
// and days since 1 January 1970, for the reset schedule and the usage history alike.
#ifndef BRISVANE_CALENDARDAYS_H
#define BRISVANE_CALENDARDAYS_H

constexpr int MONTHS_PER_YEAR = 12;

int IsLeapYear(int year);
// The days of the month, February by the year; 0 for a month that is none.
int DaysInMonthOf(int year, int month);
// Days since 1 January 1970 of a valid date of year 0 or later (negative before 1970).
int DayNumber(int year, int month, int day);
void DayToDate(int dayNumber, int* year, int* month, int* day);
// Moves a month of a year by step months, back when step is negative.
void StepMonth(int* year, int* month, int step);
// The day of that month on which a billing month starts, as a monthly reset falls: the reset
// day, or the month's last day when the month is shorter. 0 stays 0, no day.
int BillingDayInMonth(int year, int month, int resetDay);

#endif
