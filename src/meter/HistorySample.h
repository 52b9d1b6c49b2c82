// An adapter's row as a sample of the usage history, which knows no adapters: its name and its
// cleaned description with what the sample counted.
#ifndef BRISVANE_HISTORYSAMPLE_H
#define BRISVANE_HISTORYSAMPLE_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>

#include "UsageHistory.h"

// Adds what one sample of the adapter counted to its figures of that day, under its MAC text.
int AddHistorySample(UsageHistory& history, int day, const MIB_IFROW* row, unsigned __int64 in,
                     unsigned __int64 out);
// The same for an adapter named otherwise than by its hardware address (one without).
int AddHistorySample(UsageHistory& history, int day, const char* name, const MIB_IFROW* row,
                     unsigned __int64 in, unsigned __int64 out);

#endif
