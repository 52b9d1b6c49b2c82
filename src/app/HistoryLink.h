// The program's side of the usage history, which knows neither adapters nor settings: the
// adapter rows become history samples, the running figures go into the INI file's section, and
// the history window gets the settings it shows by.
#ifndef BRISVANE_HISTORYLINK_H
#define BRISVANE_HISTORYLINK_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>

#include "HistoryWindow.h"
#include "IniDocument.h"
#include "Settings.h"
#include "UsageHistory.h"

// Adds what one sample of the adapter counted to its figures of that day, under its MAC text.
int AddHistorySample(UsageHistory& history, int day, const MIB_IFROW* row, unsigned __int64 in,
                     unsigned __int64 out);
// The same for an adapter named otherwise than by its hardware address (one without).
int AddHistorySample(UsageHistory& history, int day, const char* name, const MIB_IFROW* row,
                     unsigned __int64 in, unsigned __int64 out);

// Reads the running figures from every section "History" of the INI file, in place of those
// in memory (at start); when days before today are among them, the history file tells which
// of them it took already. 0 when the INI file could not be read.
int ReadTodayFigures(UsageHistory& history, const char* iniFile);
// The same from a document of the INI file at iniFile, already read.
int ReadTodayFigures(UsageHistory& history, IniDocument& document, const char* iniFile);

// Writes the running figures, the last hand-over and the section's lines that are no figures
// into the section "History" of a document of the INI file, in place of what the section
// held. 0 when a key could not be set.
int WriteTodayFigures(const UsageHistory& history, IniDocument& document);
// The same straight into the INI file. 0 when it could not be read or written.
int WriteTodayFigures(const UsageHistory& history, const char* iniFile);

// The history's month rule of the settings' reset schedule.
int BillingDayOfSettings(const SettingsRecord& settings);
// The day of the adapter's last reset, from "StartDay" of its section of the INI file; NO_DAY
// when there is none. Only reads.
int SinceDayOfAdapter(const char* iniPath, const char* section);
// The history window's links to the settings and the INI file.
HistoryLinks SettingsHistoryLinks();

#endif
