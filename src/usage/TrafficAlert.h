// The traffic alert rule: whether an adapter's totals have passed the alert limits.
#ifndef BRISVANE_TRAFFICALERT_H
#define BRISVANE_TRAFFICALERT_H

#include "Settings.h"

enum AlertVerdict {
    AlertUnchanged,  // an unknown rule leaves the alert as it stands
    AlertClear,
    AlertInPassed,
    AlertOutPassed,
    AlertSumPassed,
};

// A share of a byte count, rounded down; it stops at the largest count instead of wrapping
// round, as the sums do (AddHeld).
unsigned __int64 PercentOf(unsigned __int64 amount, unsigned percent);

// The verdict for these totals under the settings' alert type, limits and percentage.
AlertVerdict DecideAlert(unsigned __int64 totalIn, unsigned __int64 totalOut,
                         const SettingsRecord& settings);

// The page's alert text of a verdict ("" when clear; null when unchanged).
const char* AlertVerdictText(AlertVerdict verdict);

#endif
