// The day a sample or a stored date belongs to, as the usage history counts days.
#ifndef BRISVANE_SAMPLEDAY_H
#define BRISVANE_SAMPLEDAY_H

#include <windows.h>
#include <oleauto.h>

// The local day of a date value; false when it is none.
bool DayOfDateValue(DATE date, int* day);
// Seconds since midnight of a local time, as the usage history counts them: a sample at
// midnight itself belongs to the day that ended (SampleDay), whose seconds are then all gone.
int SecondsIntoSampleDay(const SYSTEMTIME* time);

#endif
