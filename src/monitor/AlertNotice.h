// What the user is told when an adapter's alert turns on: which limit was passed, the amount
// counted against it and the limit itself. Told once per crossing, never while the alert stays
// on or when it turns off.
#ifndef BRISVANE_ALERTNOTICE_H
#define BRISVANE_ALERTNOTICE_H

#include <stddef.h>

#include "Settings.h"

struct AlertNotice {
    const char* LimitName;    // "IN", "OUT" or "IN+OUT"
    unsigned __int64 Amount;  // bytes counted against the limit
    unsigned __int64 Limit;   // the limit in bytes
};

// 1, with the notice filled in, when the alert was off (wasOn 0) and is on now, and these
// totals pass a limit under the settings; 0 otherwise.
int DecideAlertNotice(int wasOn, int isOn, unsigned __int64 totalIn, unsigned __int64 totalOut,
                      const SettingsRecord& settings, AlertNotice* notice);

// The notice's two lines: the adapter, then the limit with the amount against it, amounts as
// the page shows them, for example
//   "192.168.1.10 Intel(R) PRO/1000"
//   "IN: 9.01 GB of the 10.00 GB limit"
// Returns the characters written.
int FormatAlertNotice(const AlertNotice& notice, const char* ipv4Text, const char* description,
                      char* buffer, size_t size);

#endif
