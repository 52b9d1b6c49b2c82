// The usage history summed up for the history window: one row per day, month (or billing
// period) or year, newest first, for one adapter or all of them, and the chart's bars. Plain
// functions of the table, the running figures and the period rule they are given.
#ifndef BRISVANE_HISTORYREPORT_H
#define BRISVANE_HISTORYREPORT_H

#include <windows.h>
#include <stddef.h>

#include "GrowArray.h"
#include "HistoryTable.h"
#include "UsageHistory.h"

#define REPORT_AMOUNT_CHARS 32
#define REPORT_LINE_CHARS (PERIOD_TEXT_CHARS + 3 * REPORT_AMOUNT_CHARS + 8)

struct PeriodRow {
    int Start;  // the first day of the period
    unsigned __int64 In;
    unsigned __int64 Out;
};

struct ChartBar {
    unsigned __int64 In;
    unsigned __int64 Out;
};

// Rows ordered by their start, newest first.
class PeriodRows {
public:
    PeriodRows() {}
    PeriodRows(const PeriodRows&) = delete;
    PeriodRows& operator=(const PeriodRows&) = delete;
    // Gives the memory back too.
    void Clear() { Rows.Free(); }
    // Adds the bytes to the row of that start, made when missing. 0 when no memory is left.
    int Add(int start, unsigned __int64 in, unsigned __int64 out);
    const PeriodRow* Find(int start) const;
    int CopyFrom(const PeriodRows& other);
    int Count() const { return Rows.Count(); }

    GrowArray<PeriodRow> Rows;
};

// The rows of the table's days of the adapter with that MAC text (null: all adapters, those
// that among takes).
int BuildPeriodRows(const HistoryTable& table, const char* mac, int view, int billingDay,
                    PeriodRows* rows, const NameFilter& among = NameFilter());
// Adds the running figures of the adapter (null: all). A day the table holds as well (found
// again after the clock was set back) adds to it, as when the day is written to the file.
int AddRunningDays(const UsageHistory& history, const char* mac, int view, int billingDay,
                   PeriodRows* rows, const NameFilter& among = NameFilter());

// How many bars the chart of a view has: 31 days, 12 months, 10 years.
int ChartBarCount(int view);
// The bars of the last periods up to the one holding today, oldest first.
int ChartBarsOf(const PeriodRows& rows, int today, int view, int billingDay, ChartBar* bars,
                int count);

// "period\tIN\tOUT\ttotal" with the amounts as the pages show them.
int FormatReportLine(const PeriodRow& row, int view, int billingDay, char* buffer, size_t size);
// One amount of the report.
int FormatReportAmount(unsigned __int64 amount, char* buffer, size_t size);
unsigned __int64 RowTotal(const PeriodRow& row);

#endif
