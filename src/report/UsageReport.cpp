#include "UsageReport.h"

#include <string.h>

#include "BoundedText.h"
#include "DecimalText.h"
#include "HistoryCalendar.h"
#include "HistoryReport.h"
#include "LanguageResources.h"
#include "ReportData.h"
#include "ReportOutput.h"
#include "Settings.h"
#include "Units.h"
#include "resource.h"

// The most days and months as the messages write them.
#define FIGURE_TEXT(n) #n
#define FIGURE_OF(n) FIGURE_TEXT(n)
#define DAYS_TEXT FIGURE_OF(REPORT_MAX_DAYS)
#define MONTHS_TEXT FIGURE_OF(REPORT_MAX_MONTHS)


void AddReportUsage(ReportText* text)
{
    text->AddText(IDS_REPORT_USAGE);
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
                const char* most = DAYS_TEXT;
                error->AddText(IDS_REPORT_DAYS_NEEDS, &most, 1);
                return 0;
            }
            i++;
        } else if (strcmp(argument, "--months") == 0) {
            if (!ReadCount(next, REPORT_MAX_MONTHS, &options->Months)) {
                const char* most = MONTHS_TEXT;
                error->AddText(IDS_REPORT_MONTHS_NEEDS, &most, 1);
                return 0;
            }
            i++;
        } else if (strcmp(argument, "--adapter") == 0) {
            if (next == NULL || next[0] == 0) {
                error->AddText(IDS_REPORT_ADAPTER_NEEDS);
                return 0;
            }
            options->Adapter = next;
            i++;
        } else if (strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0 ||
                   strcmp(argument, "/?") == 0) {
            options->Help = 1;
        } else {
            error->AddText(IDS_REPORT_UNKNOWN_ARGUMENT, &argument, 1);
            return 0;
        }
    }
    return 1;
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
        error->AddText(IDS_REPORT_NO_CLOCK);
        return ReportUnreadable;
    }
    data.SecondsToday = now.wHour * SECONDS_PER_HOUR + now.wMinute * SECONDS_PER_MINUTE +
                        now.wSecond;
    if (!ReadData(programPath, data, error))
        return ReportUnreadable;
    if (data.UnreadLines > 0) {
        char count[16];
        BoundedPrint(count, sizeof(count), "%d", data.UnreadLines);
        const char* parts[] = {data.HistoryPath, count};
        error->AddText(data.UnreadLines == 1 ? IDS_REPORT_UNREADABLE_LINE
                                             : IDS_REPORT_UNREADABLE_LINES,
                       parts, 2);
    }

    int chosen = 0;
    for (const ReportAdapter& adapter : data.Adapters)
        chosen += IsChosen(adapter, options.Adapter);
    if (options.Adapter != NULL && chosen == 0) {
        error->AddText(IDS_REPORT_NO_MATCH, &options.Adapter, 1);
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
        out->Add(",\n  \"historyFile\": ");
        out->AddJsonString(data.HistoryPath);
        out->Print(",\n  \"historyUnreadableLines\": %d", data.UnreadLines);
        out->Print(",\n  \"resetType\": \"%s\",\n  \"adapters\": [", ResetTypeName(Settings.ResetType));
    } else {
        const char* parts[] = {stamp, DataFolder};
        out->AddText(IDS_REPORT_TITLE, parts, 2);
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
        out->AddText(IDS_REPORT_NOTHING_COUNTED);
    if (out->Failed) {
        error->AddText(IDS_REPORT_NO_MEMORY);
        return ReportUnreadable;
    }
    return passed ? ReportLimitPassed : ReportAllWell;
}
