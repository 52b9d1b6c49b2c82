// Local calendar days as whole numbers, their ISO texts, and the periods the usage history
// groups them in: days, calendar months or billing periods, years. Plain functions.
#ifndef BRISVANE_HISTORYCALENDAR_H
#define BRISVANE_HISTORYCALENDAR_H

#include <windows.h>
#include <stddef.h>

#include "CalendarDays.h"

enum HistoryView { ViewDays = 0, ViewMonths = 1, ViewYears = 2, HistoryViewCount = 3 };

#define FIRST_HISTORY_YEAR 1601
#define LAST_HISTORY_YEAR 9999
#define ISO_DATE_CHARS 10   // "2026-12-07"
#define PERIOD_TEXT_CHARS 64

// 1 when the three make a day of the calendar the history keeps (years 1601 to 9999).
int IsHistoryDate(int year, int month, int day);
// The local day of a local time; 0 (with *dayNumber untouched) when the time is no valid date.
int DayOfTime(const SYSTEMTIME* time, int* dayNumber);
// The day a sample taken at that local time counts for. Its bytes came in the second before
// it, so a sample at midnight itself still counts for the day that ended, as it does for a
// reset at midnight: the days then add up to the totals between two resets.
int SampleDay(const SYSTEMTIME* time, int* dayNumber);

// Reads exactly "YYYY-MM-DD" of length characters. 1 with the day when it is a valid date.
int ParseIsoDate(const char* text, size_t length, int* dayNumber);
// Writes "YYYY-MM-DD"; returns the characters written.
int FormatIsoDate(int dayNumber, char* buffer, size_t size);

// How the counters are reset, as far as the months of the history care: the program maps its
// own reset schedule onto these.
enum BillingSchedule { CalendarMonths = 0, MonthlyReset = 1 };
// The day on which the months of the history start: the reset day of a monthly reset schedule
// (a day past a month's end stands for its last day, as the reset does), 1 for calendar months.
int BillingDayOf(int schedule, int resetDay);
// The first day of the period of the view that holds the day.
int PeriodStart(int dayNumber, int view, int billingDay);
// The first day of the period after, or before, the one starting on periodStart.
int NextPeriodStart(int periodStart, int view, int billingDay);
int PreviousPeriodStart(int periodStart, int view, int billingDay);
// The last day of the period starting on periodStart, held at the calendar's last day
// (9999-12-31), so that every day named keeps the form "YYYY-MM-DD".
int PeriodLast(int periodStart, int view, int billingDay);
// The period's name in the report: "2026-12-07", "2026-12" or "2026-11-15 to 2026-12-14",
// "2026".
int FormatPeriodText(int periodStart, int view, int billingDay, char* buffer, size_t size);
// The title of the report's period column.
int FormatPeriodTitle(int view, int billingDay, char* buffer, size_t size);

#endif
