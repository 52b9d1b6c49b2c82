#include "PeriodRules.h"

#include "AddHeld.h"
#include "HistoryCalendar.h"
#include "IniDocument.h"
#include "SampleDay.h"
#include "TrafficAlert.h"

#define DATE_TEXT_CHARS 64

static PeriodSpan CalendarMonthOf(int today)
{
    int first = PeriodStart(today, ViewMonths, 1);
    PeriodSpan span = {first, NextPeriodStart(first, ViewMonths, 1) - 1};
    return span;
}

bool CurrentPeriodSpan(const SettingsRecord& settings, int today, int sinceDay,
                       PeriodSpan* span)
{
    switch (settings.ResetType) {
    case ResetDaily:
        span->First = today;
        span->Last = today;
        return true;
    case ResetMonthly: {
        int billingDay = BillingDayOfSettings(settings);
        span->First = PeriodStart(today, ViewMonths, billingDay);
        span->Last = NextPeriodStart(span->First, ViewMonths, billingDay) - 1;
        return true;
    }
    case ResetOnDate: {
        // The period's last day is the day a sample at the reset point counts for: a point at
        // midnight closes the day before.
        int last;
        if (SampleDay(&settings.ResetDate, &last)) {
            if (last >= today) {
                PeriodSpan month = CalendarMonthOf(today);
                span->First = sinceDay != NO_DAY && sinceDay <= today ? sinceDay : month.First;
                span->Last = last;
                return true;
            }
        }
        *span = CalendarMonthOf(today);  // no reset ahead: as if there were none
        return true;
    }
    default:
        *span = CalendarMonthOf(today);
        return true;
    }
}

PeriodLimits LimitsOfSettings(const SettingsRecord& settings)
{
    PeriodLimits limits = {0, 0, 0};
    if (settings.AlertType == AlertDistinct) {
        limits.In = settings.LimitIN;
        limits.Out = settings.LimitOUT;
        limits.Sum = AddHeld(settings.LimitIN, settings.LimitOUT);
    } else if (settings.AlertType == AlertTotal) {
        limits.Sum = AddHeld(settings.LimitIN, settings.LimitOUT);
    }
    return limits;
}

int BillingDayOfSettings(const SettingsRecord& settings)
{
    return BillingDayOf(settings.ResetType == ResetMonthly ? MonthlyReset : CalendarMonths,
                        settings.ResetDate.wDay);
}

int SinceDayOfAdapter(const char* iniPath, const char* section)
{
    if (iniPath == NULL || iniPath[0] == 0 || section == NULL)
        return NO_DAY;
    IniDocument document;
    char text[DATE_TEXT_CHARS] = "";
    if (!document.Read(iniPath) || !document.Get(section, "StartDay", text, sizeof(text)))
        return NO_DAY;
    DATE date;
    int day;
    if (text[0] == 0 || !ReadDateText(text, &date) || !DayOfDateValue(date, &day))
        return NO_DAY;
    return day;
}
