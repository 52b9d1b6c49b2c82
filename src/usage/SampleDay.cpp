#include "SampleDay.h"

#include "DateValue.h"
#include "HistoryCalendar.h"
#include "Units.h"

bool DayOfDateValue(DATE date, int* day)
{
    SYSTEMTIME time;
    return DateToTime(date, &time) && DayOfTime(&time, day);
}

int SecondsIntoSampleDay(const SYSTEMTIME* time)
{
    int seconds = time->wHour * SECONDS_PER_HOUR + time->wMinute * SECONDS_PER_MINUTE +
                  time->wSecond;
    return seconds == 0 ? SECONDS_PER_DAY : seconds;
}
