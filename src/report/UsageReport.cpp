#include "UsageReport.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "ByteAmountText.h"
#include "DecimalText.h"
#include "ForecastLink.h"
#include "HistoryCalendar.h"
#include "HistoryLink.h"
#include "HistoryReport.h"
#include "HistoryTable.h"
#include "IniDocument.h"
#include "PeriodForecast.h"
#include "Settings.h"
#include "TrafficAlert.h"
#include "UsageHistory.h"
#include "Utf8Text.h"

#define NAME_CHARS 64
#define NUMBER_TEXT_CHARS 64
#define FIRST_NAMES_UNITS 4096
#define MAX_NAMES_UNITS (1024 * 1024)
#define AMOUNT_CHARS 32
#define STAMP_CHARS 32
#define SECONDS_PER_HOUR 3600
#define SECONDS_PER_MINUTE 60

struct ReportAdapter {
    char Name[NAME_CHARS];  // the INI section and history name: the MAC text
    char Description[DESCRIPTION_CHARS + 1];
    int HasTotals;
    unsigned __int64 TotalIn;
    unsigned __int64 TotalOut;
    int HasSince;
    DATE Since;
};

// What one run has read.
struct ReportData {
    HistoryTable Table;
    UsageHistory Running;
    GrowArray<ReportAdapter> Adapters;
    int Today;
    int SecondsToday;
    int BillingDay;
};

void AddReportUsage(ReportText* text)
{
    text->Add("Usage: brisvane-report [--json] [--days N] [--months N] [--adapter MAC|TEXT]\n"
              "  Prints what Brisvane has saved for each adapter: today, this period with its\n"
              "  forecast, this month, this year and the totals since the last reset.\n"
              "  --json       one JSON document instead of text\n"
              "  --days N     also the last N days\n"
              "  --months N   also the last N months (billing periods with a monthly reset)\n"
              "  --adapter X  only the adapter with MAC address X, or whose description holds X\n"
              "Exit codes: 0 all well, 1 a limit passed, 2 usage error, 3 files cannot be read.\n");
}

static int ReadCount(const char* text, int most, int* value)
{
    unsigned __int64 number;
    size_t digits;
    if (text == NULL || ReadDecimal(text, NO_LENGTH_LIMIT, (unsigned __int64)most, &number,
                                    &digits) != DecimalRead ||
        text[digits] != 0 || number == 0)
        return 0;
    *value = (int)number;
    return 1;
}

int ParseReportArguments(int count, const char* const* arguments, ReportOptions* options,
                         ReportText* error)
{
    memset(options, 0, sizeof(*options));
    for (int i = 0; i < count; i++) {
        const char* argument = arguments[i];
        const char* next = i + 1 < count ? arguments[i + 1] : NULL;
        if (strcmp(argument, "--json") == 0) {
            options->Json = 1;
        } else if (strcmp(argument, "--days") == 0) {
            if (!ReadCount(next, REPORT_MAX_DAYS, &options->Days)) {
                error->Print("--days needs a number from 1 to %d\n", REPORT_MAX_DAYS);
                return 0;
            }
            i++;
        } else if (strcmp(argument, "--months") == 0) {
            if (!ReadCount(next, REPORT_MAX_MONTHS, &options->Months)) {
                error->Print("--months needs a number from 1 to %d\n", REPORT_MAX_MONTHS);
                return 0;
            }
            i++;
        } else if (strcmp(argument, "--adapter") == 0) {
            if (next == NULL || next[0] == 0) {
                error->Add("--adapter needs a MAC address or a part of a description\n");
                return 0;
            }
            options->Adapter = next;
            i++;
        } else if (strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0 ||
                   strcmp(argument, "/?") == 0) {
            options->Help = 1;
        } else {
            error->Add("Unknown argument: ");
            error->Add(argument);
            error->Add("\n");
            return 0;
        }
    }
    return 1;
}

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

static int ParseBytes(const char* text, unsigned __int64* value)
{
    size_t digits;
    while (*text == ' ')
        text++;
    return ReadDecimal(text, NO_LENGTH_LIMIT, MAX_BYTE_COUNT, value, &digits) != DecimalNone;
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
        char text[NUMBER_TEXT_CHARS];
        unsigned __int64 in = 0, out = 0;
        document.Get(name, "Total_in", text, sizeof(text));
        if (!ParseBytes(text, &in))
            continue;
        document.Get(name, "Total_out", text, sizeof(text));
        ParseBytes(text, &out);
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
    HANDLE file = CreateFileW(WideText(path), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    return 1;
}

static int ReadData(const char* programPath, ReportData& data, ReportText* error)
{
    LocateDataFolder(programPath);
    Settings = SettingsRecord();
    char historyPath[PATH_CHARS] = "";
    HistoryPathFor(IniPath, historyPath, sizeof(historyPath));
    int iniThere = IniPath[0] != 0 && FileThere(IniPath);
    int historyThere = historyPath[0] != 0 && FileThere(historyPath);
    if (!iniThere && !historyThere) {
        error->Print("Brisvane has saved nothing in %s yet.\n", DataFolder);
        return 0;
    }
    if (iniThere && !IniReadable(IniPath)) {
        error->Print("%s cannot be read (error %lu).\n", IniPath, GetLastError());
        return 0;
    }
    int skipped = 0;
    if (!data.Table.ReadFile(historyPath, &skipped)) {
        error->Print("%s cannot be read (error %lu).\n", historyPath, GetLastError());
        return 0;
    }
    if (iniThere) {
        Settings.ReadSection();
        if (!ReadTodayFigures(data.Running, IniPath) || !ReadSavedAdapters(data)) {
            error->Print("%s cannot be read: no memory.\n", IniPath);
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

static int IsChosen(const ReportAdapter& adapter, const char* wanted)
{
    return wanted == NULL || SameMac(wanted, adapter.Name) ||
           HoldsText(adapter.Description, wanted);
}

// The bytes of a stretch of days.
struct Stretch {
    int First;
    int Last;
    unsigned __int64 In;
    unsigned __int64 Out;
};

struct AdapterFigures {
    Stretch Today;
    Stretch Period;
    Stretch Month;
    Stretch Year;
    PeriodForecast Forecast;
    int HasForecast;
    LimitPick Pick;
    int HasLimit;
    AlertVerdict Verdict;
};

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

static void WorkOut(const ReportData& data, const ReportAdapter& adapter, AdapterFigures* figures)
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

static int LimitPassed(AlertVerdict verdict)
{
    return verdict == AlertInPassed || verdict == AlertOutPassed || verdict == AlertSumPassed;
}

static void DateText(int day, char* buffer)
{
    FormatIsoDate(day, buffer, ISO_DATE_CHARS + 1);
}

static void SinceText(DATE date, char* buffer, size_t size)
{
    SYSTEMTIME time;
    if (!VariantTimeToSystemTime(date, &time)) {
        CopyText(buffer, size, "");
        return;
    }
    BoundedPrint(buffer, size, "%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth,
                 time.wDay, time.wHour, time.wMinute, time.wSecond);
}

// ---- text ----

static void TextRow(ReportText* out, const char* label, unsigned __int64 in, unsigned __int64 out_,
                    const char* when)
{
    char inText[AMOUNT_CHARS], outText[AMOUNT_CHARS], total[AMOUNT_CHARS];
    FormatByteAmount(in, "B", inText, sizeof(inText));
    FormatByteAmount(out_, "B", outText, sizeof(outText));
    FormatByteAmount(AddHeld(in, out_), "B", total, sizeof(total));
    out->Print("  %-14s %12s %12s %12s   %s\n", label, inText, outText, total, when);
}

static void TextStretch(ReportText* out, const char* label, const Stretch& stretch, int view,
                        int billingDay)
{
    char when[PERIOD_TEXT_CHARS];
    if (view < 0) {
        char first[ISO_DATE_CHARS + 1], last[ISO_DATE_CHARS + 1];
        DateText(stretch.First, first);
        DateText(stretch.Last, last);
        if (stretch.First == stretch.Last)
            BoundedPrint(when, sizeof(when), "%s", first);
        else
            BoundedPrint(when, sizeof(when), "%s to %s", first, last);
    } else {
        FormatPeriodText(stretch.First, view, billingDay, when, sizeof(when));
    }
    TextRow(out, label, stretch.In, stretch.Out, when);
}

static void TextAdapter(ReportText* out, const ReportData& data, const ReportAdapter& adapter,
                        const AdapterFigures& figures, const ReportOptions& options,
                        const PeriodRows& days, const PeriodRows& months)
{
    if (adapter.Description[0] != 0)
        out->Print("%s (%s)\n", adapter.Description, adapter.Name);
    else
        out->Print("%s\n", adapter.Name);
    out->Print("  %-14s %12s %12s %12s\n", "", "IN", "OUT", "Total");
    TextStretch(out, "Today", figures.Today, -1, 1);
    TextStretch(out, "This period", figures.Period, -1, 1);
    if (figures.HasForecast) {
        char date[SHORT_DATE_CHARS];
        FormatShortDate(figures.Forecast.Span.Last, date, sizeof(date));
        char by[SHORT_DATE_CHARS + 4];
        BoundedPrint(by, sizeof(by), "by %s", date);
        TextRow(out, "  at this pace", figures.Forecast.AtEndIn, figures.Forecast.AtEndOut, by);
    }
    if (figures.HasLimit) {
        char limit[AMOUNT_CHARS], allowance[AMOUNT_CHARS];
        FormatByteAmount(figures.Pick.Limit, "B", limit, sizeof(limit));
        if (figures.Pick.SoFar >= figures.Pick.Limit) {
            out->Print("  %-14s %s %s: reached\n", "  limit", figures.Pick.Name, limit);
        } else {
            FormatByteAmount(DailyAllowance(figures.Pick, figures.Forecast.RemainingSeconds),
                             "B", allowance, sizeof(allowance));
            out->Print("  %-14s %s %s: about %s a day left%s\n", "  limit", figures.Pick.Name,
                       limit, allowance, figures.Pick.Passes ? ", passed at this pace" : "");
        }
    }
    TextStretch(out, "This month", figures.Month, ViewMonths, 1);
    TextStretch(out, "This year", figures.Year, ViewYears, 1);
    if (adapter.HasTotals) {
        char since[STAMP_CHARS] = "";
        if (adapter.HasSince)
            SinceText(adapter.Since, since, sizeof(since));
        char when[STAMP_CHARS + 8] = "";
        if (since[0] != 0)
            BoundedPrint(when, sizeof(when), "since %s", since);
        TextRow(out, "Since reset", adapter.TotalIn, adapter.TotalOut, when);
    }
    const char* verdict = AlertVerdictText(figures.Verdict);
    if (LimitPassed(figures.Verdict) && verdict != NULL)
        out->Print("  Alert: %s\n", verdict);
    if (options.Days > 0) {
        out->Print("  Last %d days:\n", options.Days);
        for (int i = 0; i < options.Days; i++) {
            int day = data.Today - i;
            const PeriodRow* row = days.Find(day);
            char date[ISO_DATE_CHARS + 1];
            DateText(day, date);
            TextRow(out, "", row != NULL ? row->In : 0, row != NULL ? row->Out : 0, date);
        }
    }
    if (options.Months > 0) {
        out->Print("  Last %d months:\n", options.Months);
        int start = PeriodStart(data.Today, ViewMonths, data.BillingDay);
        for (int i = 0; i < options.Months; i++) {
            const PeriodRow* row = months.Find(start);
            char when[PERIOD_TEXT_CHARS];
            FormatPeriodText(start, ViewMonths, data.BillingDay, when, sizeof(when));
            TextRow(out, "", row != NULL ? row->In : 0, row != NULL ? row->Out : 0, when);
            start = PreviousPeriodStart(start, ViewMonths, data.BillingDay);
        }
    }
}

// ---- JSON ----

static void JsonAmounts(ReportText* out, unsigned __int64 in, unsigned __int64 out_)
{
    out->Print("\"in\": %I64u, \"out\": %I64u, \"total\": %I64u", in, out_, AddHeld(in, out_));
}

static void JsonStretch(ReportText* out, const char* key, const Stretch& stretch)
{
    char first[ISO_DATE_CHARS + 1], last[ISO_DATE_CHARS + 1];
    DateText(stretch.First, first);
    DateText(stretch.Last, last);
    out->Print("      \"%s\": {\"first\": \"%s\", \"last\": \"%s\", ", key, first, last);
    JsonAmounts(out, stretch.In, stretch.Out);
    out->Add("}");
}

static void JsonAdapter(ReportText* out, const ReportData& data, const ReportAdapter& adapter,
                        const AdapterFigures& figures, const ReportOptions& options,
                        const PeriodRows& days, const PeriodRows& months)
{
    out->Add("    {\n      \"mac\": ");
    out->AddJsonString(adapter.Name);
    out->Add(",\n      \"description\": ");
    out->AddJsonString(adapter.Description);
    out->Add(",\n");
    JsonStretch(out, "today", figures.Today);
    out->Add(",\n");
    JsonStretch(out, "period", figures.Period);
    out->Add(",\n      \"forecast\": ");
    if (figures.HasForecast) {
        out->Add("{");
        JsonAmounts(out, figures.Forecast.AtEndIn, figures.Forecast.AtEndOut);
        out->Add("}");
    } else {
        out->Add("null");
    }
    out->Add(",\n      \"limit\": ");
    if (figures.HasLimit) {
        out->Add("{\"name\": ");
        out->AddJsonString(figures.Pick.Name);
        out->Print(", \"bytes\": %I64u, \"perDayLeft\": %I64u, \"passesAtThisPace\": %s}",
                   figures.Pick.Limit,
                   DailyAllowance(figures.Pick, figures.Forecast.RemainingSeconds),
                   figures.Pick.Passes ? "true" : "false");
    } else {
        out->Add("null");
    }
    out->Add(",\n");
    JsonStretch(out, "month", figures.Month);
    out->Add(",\n");
    JsonStretch(out, "year", figures.Year);
    out->Add(",\n      \"sinceReset\": ");
    if (adapter.HasTotals) {
        char since[STAMP_CHARS] = "";
        if (adapter.HasSince)
            SinceText(adapter.Since, since, sizeof(since));
        out->Add("{\"since\": ");
        if (since[0] != 0)
            out->AddJsonString(since);
        else
            out->Add("null");
        out->Add(", ");
        JsonAmounts(out, adapter.TotalIn, adapter.TotalOut);
        out->Add("}");
    } else {
        out->Add("null");
    }
    out->Print(",\n      \"limitPassed\": %s", LimitPassed(figures.Verdict) ? "true" : "false");
    if (options.Days > 0) {
        out->Add(",\n      \"days\": [");
        for (int i = 0; i < options.Days; i++) {
            int day = data.Today - i;
            const PeriodRow* row = days.Find(day);
            char date[ISO_DATE_CHARS + 1];
            DateText(day, date);
            out->Print("%s\n        {\"date\": \"%s\", ", i == 0 ? "" : ",", date);
            JsonAmounts(out, row != NULL ? row->In : 0, row != NULL ? row->Out : 0);
            out->Add("}");
        }
        out->Add("\n      ]");
    }
    if (options.Months > 0) {
        out->Add(",\n      \"months\": [");
        int start = PeriodStart(data.Today, ViewMonths, data.BillingDay);
        for (int i = 0; i < options.Months; i++) {
            const PeriodRow* row = months.Find(start);
            int next = NextPeriodStart(start, ViewMonths, data.BillingDay);
            char first[ISO_DATE_CHARS + 1], last[ISO_DATE_CHARS + 1];
            DateText(start, first);
            DateText(next - 1, last);
            out->Print("%s\n        {\"first\": \"%s\", \"last\": \"%s\", ", i == 0 ? "" : ",",
                       first, last);
            JsonAmounts(out, row != NULL ? row->In : 0, row != NULL ? row->Out : 0);
            out->Add("}");
            start = PreviousPeriodStart(start, ViewMonths, data.BillingDay);
        }
        out->Add("\n      ]");
    }
    out->Add("\n    }");
}

static const char* ResetTypeName(int type)
{
    switch (type) {
    case ResetDaily:
        return "daily";
    case ResetMonthly:
        return "monthly";
    case ResetOnDate:
        return "date";
    default:
        return "never";
    }
}

int RunReport(int count, const char* const* arguments, const char* programPath,
              const SYSTEMTIME& now, ReportText* out, ReportText* error)
{
    ReportOptions options;
    if (!ParseReportArguments(count, arguments, &options, error)) {
        AddReportUsage(error);
        return ReportUsageError;
    }
    if (options.Help) {
        AddReportUsage(out);
        return ReportAllWell;
    }
    static ReportData data;  // the history may be large: not on the stack
    data.Table.Clear();
    data.Running.Running.Free();
    data.Adapters.Free();
    if (!DayOfTime(&now, &data.Today)) {
        error->Add("The clock gives no valid date.\n");
        return ReportUnreadable;
    }
    data.SecondsToday = now.wHour * SECONDS_PER_HOUR + now.wMinute * SECONDS_PER_MINUTE +
                        now.wSecond;
    if (!ReadData(programPath, data, error))
        return ReportUnreadable;

    int chosen = 0;
    for (const ReportAdapter& adapter : data.Adapters)
        chosen += IsChosen(adapter, options.Adapter);
    if (options.Adapter != NULL && chosen == 0) {
        error->Add("No adapter matches ");
        error->Add(options.Adapter);
        error->Add(".\n");
        return ReportUsageError;
    }

    char stamp[STAMP_CHARS];
    BoundedPrint(stamp, sizeof(stamp), "%04u-%02u-%02uT%02u:%02u:%02u", now.wYear, now.wMonth,
                 now.wDay, now.wHour, now.wMinute, now.wSecond);
    if (options.Json) {
        out->Add("{\n  \"generated\": ");
        out->AddJsonString(stamp);
        out->Add(",\n  \"dataFolder\": ");
        out->AddJsonString(DataFolder);
        out->Print(",\n  \"resetType\": \"%s\",\n  \"adapters\": [", ResetTypeName(Settings.ResetType));
    } else {
        out->Print("Brisvane usage at %s, from %s\n", stamp, DataFolder);
    }
    int passed = 0, written = 0;
    for (const ReportAdapter& adapter : data.Adapters) {
        if (!IsChosen(adapter, options.Adapter))
            continue;
        AdapterFigures figures;
        WorkOut(data, adapter, &figures);
        passed |= LimitPassed(figures.Verdict);
        PeriodRows days, months;
        if (options.Days > 0) {
            BuildPeriodRows(data.Table, adapter.Name, ViewDays, 1, &days);
            AddRunningDays(data.Running, adapter.Name, ViewDays, 1, &days);
        }
        if (options.Months > 0) {
            BuildPeriodRows(data.Table, adapter.Name, ViewMonths, data.BillingDay, &months);
            AddRunningDays(data.Running, adapter.Name, ViewMonths, data.BillingDay, &months);
        }
        if (options.Json) {
            out->Add(written > 0 ? ",\n" : "\n");
            JsonAdapter(out, data, adapter, figures, options, days, months);
        } else {
            out->Add("\n");
            TextAdapter(out, data, adapter, figures, options, days, months);
        }
        written++;
    }
    if (options.Json)
        out->Print("%s],\n  \"limitPassed\": %s\n}\n", written > 0 ? "\n  " : "",
                   passed ? "true" : "false");
    else if (written == 0)
        out->Add("\nNo adapter has been counted yet.\n");
    if (out->Failed) {
        error->Add("Out of memory.\n");
        return ReportUnreadable;
    }
    return passed ? ReportLimitPassed : ReportAllWell;
}
