#include "HistoryLink.h"

#include "BoundedText.h"
#include "ForecastLink.h"
#include "InterfaceIdentity.h"
#include "Utf8Text.h"

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

int WriteTodayFigures(const UsageHistory& history, IniDocument& document)
{
    // The section is written whole: figures of days that went into the history file go.
    document.RemoveSection(HISTORY_SECTION);
    int ok = 1;
    for (int i = 0; i < history.Running.Count(); i++) {
        char key[FIGURE_KEY_CHARS];
        char value[FIGURE_VALUE_CHARS];
        history.FigureLine(i, key, sizeof(key), value, sizeof(value));
        if (!document.Set(HISTORY_SECTION, key, value))
            ok = 0;
    }
    return ok;
}

int WriteTodayFigures(const UsageHistory& history, const char* iniFile)
{
    if (iniFile == NULL || iniFile[0] == 0)
        return 0;
    IniDocument document;
    DWORD error;
    return document.Read(iniFile) && WriteTodayFigures(history, document) &&
           document.WriteReplacing(iniFile, &error);
}

int BillingDayOfSettings(const SettingsRecord& settings)
{
    return BillingDayOf(settings.ResetType == ResetMonthly ? MonthlyReset : CalendarMonths,
                        settings.ResetDate.wDay);
}

static int CurrentBillingDay()
{
    return BillingDayOfSettings(Settings);
}

static void WritePlacement(IniDocument& document, void* placeRecord)
{
    const RECT& place = *(const RECT*)placeRecord;
    char text[SHORT_TEXT];
    BoundedPrint(text, sizeof(text), "%ld", place.left);
    document.Set(HISTORY_WINDOW_SECTION, "Left", text);
    BoundedPrint(text, sizeof(text), "%ld", place.top);
    document.Set(HISTORY_WINDOW_SECTION, "Top", text);
    BoundedPrint(text, sizeof(text), "%ld", place.right - place.left);
    document.Set(HISTORY_WINDOW_SECTION, "Width", text);
    BoundedPrint(text, sizeof(text), "%ld", place.bottom - place.top);
    document.Set(HISTORY_WINDOW_SECTION, "Height", text);
}

static void SavePlacement(const RECT* place)
{
    RECT copy = *place;
    Settings.SaveIni(WritePlacement, &copy);
}

int SinceDayOfAdapter(const char* iniPath, const char* section)
{
    if (iniPath == NULL || iniPath[0] == 0 || section == NULL)
        return NO_DAY;
    wchar_t wide[SHORT_TEXT] = L"";
    GetPrivateProfileStringW(WideText(section), L"StartDay", L"", wide, SHORT_TEXT,
                             WideText(iniPath));
    char text[SHORT_TEXT];
    WideToUtf8(wide, text, sizeof(text));
    DATE date;
    int day;
    if (text[0] == 0 || !ReadDateText(text, &date) || !DayOfDateValue(date, &day))
        return NO_DAY;
    return day;
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
    HistoryLinks links = {IniPath, CurrentBillingDay, SavePlacement, SettingsForecastRule};
    return links;
}
