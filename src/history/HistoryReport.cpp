#include "HistoryReport.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "ByteAmountText.h"
#include "HistoryCalendar.h"

#define CHART_DAYS 31
#define CHART_MONTHS 12
#define CHART_YEARS 10

// The position of the row with that start, or where it belongs (newest first).
static int Position(const GrowArray<PeriodRow>& rows, int start)
{
    int low = 0, high = rows.Count();
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (rows[middle].Start > start)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int PeriodRows::Add(int start, unsigned __int64 in, unsigned __int64 out)
{
    // Rows are mostly added in order, newest first: the last row is the likeliest.
    int count = Rows.Count();
    int at = count > 0 && Rows[count - 1].Start > start ? count : Position(Rows, start);
    if (at < count && Rows[at].Start == start) {
        Rows[at].In = AddHeld(Rows[at].In, in);
        Rows[at].Out = AddHeld(Rows[at].Out, out);
        return 1;
    }
    if (!Rows.Resize(count + 1))
        return 0;
    memmove(&Rows[at + 1], &Rows[at], (size_t)(count - at) * sizeof(PeriodRow));
    Rows[at].Start = start;
    Rows[at].In = in;
    Rows[at].Out = out;
    return 1;
}

const PeriodRow* PeriodRows::Find(int start) const
{
    int at = Position(Rows, start);
    return at < Rows.Count() && Rows[at].Start == start ? &Rows[at] : NULL;
}

int PeriodRows::CopyFrom(const PeriodRows& other)
{
    if (!Rows.Reserve(other.Rows.Count()))
        return 0;
    Rows.Resize(other.Rows.Count());
    if (other.Rows.Count() > 0)
        memcpy(Rows.Data(), other.Rows.Data(), (size_t)other.Rows.Count() * sizeof(PeriodRow));
    return 1;
}

int BuildPeriodRows(const HistoryTable& table, const char* mac, int view, int billingDay,
                    PeriodRows* rows, const NameFilter& among)
{
    rows->Clear();
    // Which names belong to the adapter, once, rather than a text compare per record.
    GrowArray<char> chosen;
    bool choose = mac != NULL || among;
    if (choose) {
        if (!chosen.Resize(table.Names.Count()))
            return 0;
        for (int i = 0; i < table.Names.Count(); i++)
            chosen[i] = mac != NULL ? strcmp(table.Names[i].Mac, mac) == 0
                                    : among(table.Names[i].Mac);
    }
    int ok = 1;
    // The records run by day, so the periods come newest first from the end.
    int lastDay = 0, lastStart = 0, known = 0;
    for (int i = table.Records.Count() - 1; i >= 0 && ok; i--) {
        const HistoryRecord& record = table.Records[i];
        if (choose && !chosen[record.Name])
            continue;
        if (!known || record.Day != lastDay) {
            lastDay = record.Day;
            lastStart = PeriodStart(record.Day, view, billingDay);
            known = 1;
        }
        ok = rows->Add(lastStart, record.In, record.Out);
    }
    return ok;
}

int AddRunningDays(const UsageHistory& history, const char* mac, int view, int billingDay,
                   PeriodRows* rows, const NameFilter& among)
{
    for (const RunningDay& entry : history.Running) {
        if (mac != NULL ? strcmp(entry.Mac, mac) != 0 : among && !among(entry.Mac))
            continue;
        if (!rows->Add(PeriodStart(entry.Day, view, billingDay), entry.In, entry.Out))
            return 0;
    }
    return 1;
}

int ChartBarCount(int view)
{
    switch (view) {
    case ViewMonths:
        return CHART_MONTHS;
    case ViewYears:
        return CHART_YEARS;
    default:
        return CHART_DAYS;
    }
}

int ChartBarsOf(const PeriodRows& rows, int today, int view, int billingDay, ChartBar* bars,
                int count)
{
    int start = PeriodStart(today, view, billingDay);
    for (int i = count - 1; i >= 0; i--) {
        const PeriodRow* row = rows.Find(start);
        bars[i].In = row != NULL ? row->In : 0;
        bars[i].Out = row != NULL ? row->Out : 0;
        start = PreviousPeriodStart(start, view, billingDay);
    }
    return count;
}

unsigned __int64 RowTotal(const PeriodRow& row)
{
    return AddHeld(row.In, row.Out);
}

int FormatReportAmount(unsigned __int64 amount, char* buffer, size_t size)
{
    return FormatByteAmount(amount, "B", buffer, size);
}

int FormatReportLine(const PeriodRow& row, int view, int billingDay, char* buffer, size_t size)
{
    char period[PERIOD_TEXT_CHARS];
    char in[REPORT_AMOUNT_CHARS], out[REPORT_AMOUNT_CHARS], total[REPORT_AMOUNT_CHARS];
    FormatPeriodText(row.Start, view, billingDay, period, sizeof(period));
    FormatReportAmount(row.In, in, sizeof(in));
    FormatReportAmount(row.Out, out, sizeof(out));
    FormatReportAmount(RowTotal(row), total, sizeof(total));
    return BoundedPrint(buffer, size, "%s\t%s\t%s\t%s", period, in, out, total);
}
