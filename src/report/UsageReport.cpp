#include "UsageReport.h"

#include <string.h>

#include "BoundedText.h"
#include "DecimalText.h"
#include "HistoryCalendar.h"
#include "HistoryReport.h"
#include "ReportData.h"
#include "ReportOutput.h"
#include "Settings.h"
#include "Units.h"


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
