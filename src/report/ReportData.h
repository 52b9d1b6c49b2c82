// What one run of the report has read: every adapter the INI and history files name, with
// its totals since the last reset, and each adapter's figures worked out from them.
#ifndef BRISVANE_REPORTDATA_H
#define BRISVANE_REPORTDATA_H

#include <windows.h>

#include "GrowArray.h"
#include "HistoryTable.h"
#include "PeriodForecast.h"
#include "ReportText.h"
#include "TrafficAlert.h"
#include "UsageHistory.h"

#define NAME_CHARS 64

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
    char HistoryPath[PATH_CHARS];
    int UnreadLines;  // lines of the history file it could not read, kept there
};

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

// Reads the data of the tray program at programPath: its INI file in one snapshot and its
// history file. 0, with the reason in error, when neither is there or one cannot be read (a
// history file in no form the reader takes included).
int ReadData(const char* programPath, ReportData& data, ReportText* error);
// The adapter is the one asked for (a MAC text or part of a description), or none was.
int IsChosen(const ReportAdapter& adapter, const char* wanted);
// The adapter's stretches, forecast, limit and alert as of data.Today.
void WorkOut(const ReportData& data, const ReportAdapter& adapter, AdapterFigures* figures);
int LimitPassed(AlertVerdict verdict);

#endif
