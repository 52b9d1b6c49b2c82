#include "HistoryLink.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "HistoryTable.h"
#include "InterfaceIdentity.h"
#include "PeriodRules.h"

static int CurrentBillingDay()
{
    return BillingDayOfSettings(Settings);
}

static void SavePlace(const WindowPlace& place)
{
    WindowPlaceText text = FormatWindowPlace(place);
    DWORD error;
    SaveIniFile(
        [&](IniDocument& document) {
            for (int i = 0; i < PlaceKeyCount; i++)
                document.Set(HISTORY_WINDOW_SECTION, PlaceKeys[i], text.Values[i]);
        },
        &error);
}

static void SaveChoice(const char* key, const char* text)
{
    DWORD error;
    SaveIniFile([&](IniDocument& document) { document.Set(HISTORY_WINDOW_SECTION, key, text); },
                &error);
}

static void ReadPlaceText(const char* key, char* text, size_t size)
{
    IniDocument document;
    if (IniPath[0] == 0 || !document.Read(IniPath))
        text[0] = 0;
    else
        ReadIniText(document, HISTORY_WINDOW_SECTION, key, "", text, size);
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
    HistoryLinks links;
    links.IniPath = IniPath;
    links.BillingDay = CurrentBillingDay;
    links.SavePlace = SavePlace;
    links.ReadPlaceText = ReadPlaceText;
    links.SaveChoice = SaveChoice;
    links.WorkAreas = NULL;
    links.ForecastRule = SettingsForecastRule;
    return links;
}
