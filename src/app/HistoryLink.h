// The program's side of the usage history, which knows neither adapters nor settings: the
// adapter rows become history samples, and the history window gets the settings it shows by.
#ifndef BRISVANE_HISTORYLINK_H
#define BRISVANE_HISTORYLINK_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>

#include "HistoryLinks.h"
#include "UsageHistory.h"

// Adds what one sample of the adapter counted to its figures of that day, under its MAC text.
int AddHistorySample(UsageHistory& history, int day, const MIB_IFROW* row, unsigned __int64 in,
                     unsigned __int64 out);
// The same for an adapter named otherwise than by its hardware address (one without).
int AddHistorySample(UsageHistory& history, int day, const char* name, const MIB_IFROW* row,
                     unsigned __int64 in, unsigned __int64 out);

// The history window's links to the settings and the INI file.
HistoryLinks SettingsHistoryLinks();

#endif
