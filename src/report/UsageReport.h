// The report on the command line: what the running program has saved, for each adapter (or
// those chosen): today, the period with its forecast, the month, the year and the totals since
// the last reset, as text or as one JSON document. It only reads the INI and history files.
#ifndef BRISVANE_USAGEREPORT_H
#define BRISVANE_USAGEREPORT_H

#include <windows.h>

#include "ReportText.h"

// The program's exit codes.
enum ReportExit {
    ReportAllWell = 0,
    ReportLimitPassed = 1,  // an adapter's totals passed a limit, as the alert would say
    ReportUsageError = 2,
    ReportUnreadable = 3,   // the INI or history file is there but cannot be read, or neither is
};

#define REPORT_MAX_DAYS 36600
#define REPORT_MAX_MONTHS 1200
#define REPORT_PROGRAM_NAME "Brisvane.exe"

struct ReportOptions {
    int Json;
    int Days;    // the last days to list, 0 for none
    int Months;  // the last months (or billing periods) to list, 0 for none
    const char* Adapter;  // a MAC text or part of a description; null for every adapter
    int Help;
};

// Reads the arguments after the program's name. 0, with the reason in error, on a usage error.
int ParseReportArguments(int count, const char* const* arguments, ReportOptions* options,
                         ReportText* error);

// The whole run: the arguments, the data of the tray program at programPath (whose data
// folder it looks up as that program chooses it) at the local time now. The report goes into
// out, errors into error; returns the exit code.
int RunReport(int count, const char* const* arguments, const char* programPath,
              const SYSTEMTIME& now, ReportText* out, ReportText* error);

// The usage text.
void AddReportUsage(ReportText* text);

#endif
