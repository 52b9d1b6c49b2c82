// When the scheduled counter reset is due. Plain functions of the times and settings they are
// given; the month lengths come from the calendar (February by the year asked for, as a program
// started in a leap year may run into the next).
#ifndef BRISVANE_RESETSCHEDULE_H
#define BRISVANE_RESETSCHEDULE_H

#include <windows.h>
#include <oleauto.h>

#include "DateValue.h"
#include "Settings.h"

// Whether the reset point of the settings' ResetType lies after startDay and at or before now
// (strictly: startDay < point < now). A point that is no valid date is never due.
int ResetDue(const SYSTEMTIME* now, const VARIANT* startDay, const SettingsRecord& settings);

#endif
