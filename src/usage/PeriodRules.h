// The periods and limits the settings make: the period of the reset schedule that holds a day,
// the billing day of the history's months, the limits of the alert rule.
#ifndef BRISVANE_PERIODRULES_H
#define BRISVANE_PERIODRULES_H

#include "PeriodForecast.h"
#include "Settings.h"

// The period of the reset schedule that holds today: the day for daily; the billing period
// for monthly; from sinceDay (the day the totals were last reset, NO_DAY when unknown: the
// month's first day) to the day before the reset point for a date (the reset day itself when
// the point has a time of day); the calendar month for never, and for a date that has passed.
bool CurrentPeriodSpan(const SettingsRecord& settings, int today, int sinceDay,
                       PeriodSpan* span);
// The limits the alert rule holds the totals against (the sum as well for distinct limits).
PeriodLimits LimitsOfSettings(const SettingsRecord& settings);
// The history's month rule of the settings' reset schedule.
int BillingDayOfSettings(const SettingsRecord& settings);
// The day of the adapter's last reset, from "StartDay" of its section of the INI file; NO_DAY
// when there is none. Only reads.
int SinceDayOfAdapter(const char* iniPath, const char* section);

#endif
