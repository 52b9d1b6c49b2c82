#include "HistoryLink.h"

#include <string.h>

#include "BoundedText.h"
#include "ForecastLink.h"
#include "HistoryCalendar.h"
#include "InterfaceIdentity.h"
#include "Platform.h"
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

static void ReadFigure(const char* line, void* history)
{
    ((UsageHistory*)history)->ReadFigureLine(line);
}

int ReadTodayFigures(UsageHistory& history, const char* iniFile)
{
    history.ClearFigures();
    if (iniFile == NULL || iniFile[0] == 0)
        return 1;
    IniDocument document;
    return document.Read(iniFile) && ReadTodayFigures(history, document, iniFile);
}

int ReadTodayFigures(UsageHistory& history, IniDocument& document, const char* iniFile)
{
    history.ClearFigures();
    if (!document.ForEachLineOf(HISTORY_SECTION, ReadFigure, &history))
        return 0;
    history.Unsaved = 0;
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int today;
    char path[PATH_CHARS];
    // Days that have ended may have reached the history file before the INI file was written.
    if (SampleDay(&now, &today) && history.HasFinishedDays(today) &&
        HistoryPathFor(iniFile, path, sizeof(path)))
        history.SettleWithFile(path);
    return 1;
}

int WriteTodayFigures(const UsageHistory& history, IniDocument& document)
{
    // The section is written whole: figures of days that went into the history file go.
    document.RemoveSection(HISTORY_SECTION);
    int ok = 1;
    // Lines that are no figures go back as they came.
    for (int at = 0; at < history.KeptLines.Count();) {
        const char* line = history.KeptLines.Data() + at;
        size_t length = strlen(line);
        at += (int)length + 1;
        const char* equals = strchr(line, '=');
        if (equals == NULL)
            continue;
        char key[FIGURE_VALUE_CHARS];
        size_t keyLength = (size_t)(equals - line);
        if (keyLength + 1 > sizeof(key))
            keyLength = sizeof(key) - 1;
        memcpy(key, line, keyLength);
        key[keyLength] = 0;
        if (!document.Set(HISTORY_SECTION, key, equals + 1))
            ok = 0;
    }
    if (history.HandOver != 0) {
        char value[SHORT_TEXT];
        BoundedPrint(value, sizeof(value), "%I64u", history.HandOver);
        if (!document.Set(HISTORY_SECTION, HAND_OVER_KEY, value))
            ok = 0;
    }
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

static void ReadPlaceText(const char* key, char* text, size_t size)
{
    IniDocument document;
    if (IniPath[0] == 0 || !document.Read(IniPath))
        text[0] = 0;
    else
        ReadIniText(document, HISTORY_WINDOW_SECTION, key, "", text, size);
}

int SinceDayOfAdapter(const char* iniPath, const char* section)
{
    if (iniPath == NULL || iniPath[0] == 0 || section == NULL)
        return NO_DAY;
    IniDocument document;
    char text[SHORT_TEXT] = "";
    if (!document.Read(iniPath) || !document.Get(section, "StartDay", text, sizeof(text)))
        return NO_DAY;
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
    HistoryLinks links;
    links.IniPath = IniPath;
    links.BillingDay = CurrentBillingDay;
    links.SavePlace = SavePlace;
    links.ReadPlaceText = ReadPlaceText;
    links.WorkAreas = NULL;
    links.ForecastRule = SettingsForecastRule;
    return links;
}
