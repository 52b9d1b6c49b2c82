// The report's reading of the saved data, the choice of adapters and their figures.
#include "ReportData.h"

#include "resource.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "DecimalText.h"
#include "HistoryCalendar.h"
#include "IniDocument.h"
#include "OwnedHandle.h"
#include "PeriodRules.h"
#include "RunningFigures.h"
#include "SampleDay.h"
#include "Settings.h"
#include "Utf8Text.h"
#include "resource.h"

#define NUMBER_TEXT_CHARS 64

static ReportAdapter* FindAdapter(ReportData& data, const char* name)
{
    for (ReportAdapter& adapter : data.Adapters)
        if (strcmp(adapter.Name, name) == 0)
            return &adapter;
    return NULL;
}

static ReportAdapter* AddAdapter(ReportData& data, const char* name, const char* description)
{
    ReportAdapter* adapter = FindAdapter(data, name);
    if (adapter == NULL) {
        adapter = data.Adapters.AppendZeroed();
        if (adapter == NULL)
            return NULL;
        CopyText(adapter->Name, sizeof(adapter->Name), name);
    }
    if (adapter->Description[0] == 0 && description != NULL)
        CopyText(adapter->Description, sizeof(adapter->Description), description);
    return adapter;
}

// Every section of the INI file that holds an adapter's totals, read from one copy of the file so
// that a save of the running program in the middle cannot mix two states.
static int ReadSavedAdapters(ReportData& data)
{
    IniDocument document;
    if (!document.Read(IniPath))
        return 0;
    IniLine line;
    for (size_t at = 0; document.ScanLine(at, &line); at = line.Next) {
        if (line.Kind != IniHeaderLine || !line.Named)
            continue;
        char name[NAME_CHARS];
        size_t length = line.NameStop - line.NameAt;
        if (length >= sizeof(name))
            continue;  // no adapter's section has so long a name
        memcpy(name, document.Text() + line.NameAt, length);
        name[length] = 0;
        // A section with totals is an adapter's; they read as the program reads them.
        char text[NUMBER_TEXT_CHARS];
        unsigned __int64 in, out;
        if (!document.Get(name, "Total_in", text, sizeof(text)))
            continue;
        ReadStoredNumber(text, MAX_BYTE_COUNT, &in);
        document.Get(name, "Total_out", text, sizeof(text));
        ReadStoredNumber(text, MAX_BYTE_COUNT, &out);
        ReportAdapter* adapter = AddAdapter(data, name, NULL);
        if (adapter == NULL)
            return 0;
        adapter->HasTotals = 1;
        adapter->TotalIn = in;
        adapter->TotalOut = out;
        document.Get(name, "StartDay", text, sizeof(text));
        adapter->HasSince = text[0] != 0 && ReadDateText(text, &adapter->Since);
    }
    return 1;
}

static int FileThere(const char* path)
{
    return GetFileAttributesW(WideText(path)) != INVALID_FILE_ATTRIBUTES;
}

// The INI file can be read when it is there; 0 when it is there and cannot be.
static int IniReadable(const char* path)
{
    OwnedHandle file(CreateFileW(WideText(path), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    return file.IsValid();
}
static void AddCannotRead(ReportText* error, const char* path, DWORD code)
{
    char figure[16];
    BoundedPrint(figure, sizeof(figure), "%lu", code);
    const char* parts[] = {path, figure};
    error->AddText(IDS_REPORT_CANNOT_READ, parts, 2);
}

int ReadData(const char* programPath, ReportData& data, ReportText* error)
{
    LocateDataFolder(programPath);
    Settings = SettingsRecord();
    char historyPath[PATH_CHARS] = "";
    HistoryPathFor(IniPath, historyPath, sizeof(historyPath));
    int iniThere = IniPath[0] != 0 && FileThere(IniPath);
    int historyThere = historyPath[0] != 0 && FileThere(historyPath);
    if (!iniThere && !historyThere) {
        const char* parts[] = {DataFolder};
        error->AddText(IDS_REPORT_NOTHING_SAVED, parts, 1);
        return 0;
    }
    if (iniThere && !IniReadable(IniPath)) {
        AddCannotRead(error, IniPath, GetLastError());
        return 0;
    }
    int skipped = 0;
    int read = data.Table.ReadFile(historyPath, &skipped);
    if (read == HistoryReadFailed) {
        AddCannotRead(error, historyPath, GetLastError());
        return 0;
    }
    // The program would set such a file aside whole: its days are not known.
    if (read == HistoryReadForeign) {
        const char* parts[] = {historyPath};
        error->AddText(IDS_REPORT_FOREIGN_HISTORY, parts, 1);
        return 0;
    }
    CopyText(data.HistoryPath, sizeof(data.HistoryPath), historyPath);
    data.UnreadLines = skipped;
    if (iniThere) {
        ReadSettingsFile(Settings);
        if (!ReadTodayFigures(data.Running, IniPath) || !ReadSavedAdapters(data)) {
            const char* parts[] = {IniPath};
            error->AddText(IDS_REPORT_NO_MEMORY_FOR, parts, 1);
            return 0;
        }
    }
    // Named as they are now: today's figures first, then the file's, the latest first.
    for (int i = data.Running.Running.Count() - 1; i >= 0; i--) {
        const RunningDay& entry = data.Running.Running[i];
        AddAdapter(data, entry.Mac, entry.Description);
    }
    for (int i = data.Table.Records.Count() - 1; i >= 0; i--) {
        const HistoryName& name = data.Table.Names[data.Table.Records[i].Name];
        AddAdapter(data, name.Mac, name.Description);
    }
    data.BillingDay = BillingDayOfSettings(Settings);
    return 1;
}

static char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

// "00:1a:2b:3c:4d:5e" or "00-1A-..." against the MAC text.
static int SameMac(const char* wanted, const char* mac)
{
    size_t i = 0;
    for (; wanted[i] != 0 && mac[i] != 0; i++) {
        char c = wanted[i] == ':' ? '-' : wanted[i];
        if (LowerAscii(c) != LowerAscii(mac[i]))
            return 0;
    }
    return wanted[i] == 0 && mac[i] == 0;
}

static int HoldsText(const char* text, const char* part)
{
    size_t length = strlen(part);
    for (const char* at = text; *at != 0; at++) {
        size_t i = 0;
        while (i < length && at[i] != 0 && LowerAscii(at[i]) == LowerAscii(part[i]))
            i++;
        if (i == length)
            return 1;
    }
    return 0;
}

int IsChosen(const ReportAdapter& adapter, const char* wanted)
{
    return wanted == NULL || SameMac(wanted, adapter.Name) ||
           HoldsText(adapter.Description, wanted);
}
static Stretch SumStretch(const ReportData& data, const char* name, int first, int last,
                          int* firstKnown)
{
    SpanSums sums;
    SumSpanDays(data.Table, &data.Running, name, first, last, &sums);
    if (firstKnown != NULL)
        *firstKnown = sums.FirstKnownDay;
    Stretch stretch = {first, last, sums.In, sums.Out};
    return stretch;
}

void WorkOut(const ReportData& data, const ReportAdapter& adapter, AdapterFigures* figures)
{
    int today = data.Today;
    figures->Today = SumStretch(data, adapter.Name, today, today, NULL);
    int monthFirst = PeriodStart(today, ViewMonths, 1);
    figures->Month = SumStretch(data, adapter.Name, monthFirst, today, NULL);
    figures->Year = SumStretch(data, adapter.Name, PeriodStart(today, ViewYears, 1), today, NULL);
    int since = NO_DAY;
    if (!adapter.HasSince || !DayOfDateValue(adapter.Since, &since))
        since = NO_DAY;
    PeriodSpan span;
    CurrentPeriodSpan(Settings, today, since, &span);
    int firstKnown = NO_DAY;
    figures->Period = SumStretch(data, adapter.Name, span.First, today, &firstKnown);
    figures->Period.Last = span.Last;
    figures->HasForecast = ForecastPeriod(figures->Period.In, figures->Period.Out, span,
                                          firstKnown, today, data.SecondsToday,
                                          &figures->Forecast);
    figures->HasLimit = figures->HasForecast &&
                        PickLimit(figures->Forecast, LimitsOfSettings(Settings), &figures->Pick);
    figures->Verdict = adapter.HasTotals
                           ? DecideAlert(adapter.TotalIn, adapter.TotalOut, Settings)
                           : AlertClear;
}

int LimitPassed(AlertVerdict verdict)
{
    return verdict == AlertInPassed || verdict == AlertOutPassed || verdict == AlertSumPassed;
}
