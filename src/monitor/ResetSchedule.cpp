#include "ResetSchedule.h"

#include "CalendarDays.h"

int ResetDue(const SYSTEMTIME* now, const VARIANT* startDay, const SettingsRecord& settings)
{
    if (startDay->vt != VT_DATE || now->wMonth < 1 || now->wMonth > 12)
        return 0;

    SYSTEMTIME point = {};
    switch (settings.ResetType) {
    case ResetDaily:
        point.wYear = now->wYear;
        point.wMonth = now->wMonth;
        point.wDay = now->wDay;
        break;
    case ResetMonthly:
        point.wYear = now->wYear;
        point.wMonth = now->wMonth;
        // Day 0 stays no date.
        point.wDay = (WORD)BillingDayInMonth(now->wYear, now->wMonth, settings.ResetDate.wDay);
        break;
    case ResetOnDate:
        point = settings.ResetDate;
        break;
    default:
        return 0;
    }

    DATE pointDate, nowDate;
    if (!TimeToDate(&point, &pointDate) || !TimeToDate(now, &nowDate))
        return 0;
    if (nowDate > pointDate)
        return startDay->date < pointDate;
    // This month's point is still ahead; last month's, passed while the program was not
    // running, still closes the period it ends.
    if (settings.ResetType == ResetMonthly) {
        int year = now->wYear, month = now->wMonth;
        StepMonth(&year, &month, -1);
        SYSTEMTIME last = point;
        last.wYear = (WORD)year;
        last.wMonth = (WORD)month;
        last.wDay = (WORD)BillingDayInMonth(year, month, settings.ResetDate.wDay);
        DATE lastDate;
        return TimeToDate(&last, &lastDate) && startDay->date < lastDate;
    }
    return 0;
}
