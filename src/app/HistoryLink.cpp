#include "HistoryLink.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "HistoryTable.h"
#include "InterfaceIdentity.h"
#include "PeriodRules.h"

static_assert(DESCRIPTION_CHARS == MAX_DESCR, "the history keeps the descriptions whole");

int AddHistorySample(UsageHistory& history, int day, const MIB_IFROW* row, unsigned __int64 in,
                     unsigned __int64 out)
{
    char mac[SHORT_TEXT];
    FormatMacText(row->bPhysAddr, PhysAddrLength(row), mac, sizeof(mac));
    return AddHistorySample(history, day, mac, row, in, out);
}

int AddHistorySample(UsageHistory& history, int day, const char* name, const MIB_IFROW* row,
                     unsigned __int64 in, unsigned __int64 out)
{
    char description[DESCRIPTION_CHARS + 1];
    CleanDescription((const char*)row->bDescr, DescrLength(row), description,
                     sizeof(description));
    return history.Add(day, name, description, in, out);
}

static int CurrentBillingDay()
{
    return BillingDayOfSettings(Settings);
}

static void WritePlace(IniDocument& document, void* placeRecord)
{
    WindowPlaceText text = FormatWindowPlace(*(const WindowPlace*)placeRecord);
    for (int i = 0; i < PlaceKeyCount; i++)
        document.Set(HISTORY_WINDOW_SECTION, PlaceKeys[i], text.Values[i]);
}

static void SavePlace(const WindowPlace& place)
{
    WindowPlace copy = place;
    Settings.SaveIni(WritePlace, &copy);
}

static void ReadPlaceText(const char* key, char* text, size_t size)
{
    Settings.ReadIniText(HISTORY_WINDOW_SECTION, key, "", text, size);
}

static int SettingsForecastRule(int today, const char* mac, PeriodSpan* span,
                                PeriodLimits* limits)
{
    // Only a period that ends on a date starts at the adapter's last reset; for all adapters
    // together it starts with the month.
    int since = Settings.ResetType == ResetOnDate ? SinceDayOfAdapter(IniPath, mac) : NO_DAY;
    *limits = LimitsOfSettings(Settings);
    return CurrentPeriodSpan(Settings, today, since, span);
}

HistoryLinks SettingsHistoryLinks()
{
    HistoryLinks links = {IniPath, CurrentBillingDay, SavePlace, ReadPlaceText,
                          NULL,    NULL,              NULL,      SettingsForecastRule};
    return links;
}
