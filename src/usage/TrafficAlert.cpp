#include "TrafficAlert.h"

#include "AddHeld.h"
#include "Units.h"

unsigned __int64 PercentOf(unsigned __int64 amount, unsigned percent)
{
    // Split so that no step wraps: amount = 100 q + r, and r * percent stays small.
    unsigned __int64 whole = amount / PERCENT, rest = amount % PERCENT;
    if (percent != 0 && whole > MAX_BYTE_COUNT / percent)
        return MAX_BYTE_COUNT;
    return AddHeld(whole * percent, rest * percent / PERCENT);
}

AlertVerdict DecideAlert(unsigned __int64 totalIn, unsigned __int64 totalOut,
                         const SettingsRecord& settings)
{
    unsigned __int64 inThreshold = PercentOf(settings.LimitIN, settings.AlertPercent);
    unsigned __int64 outThreshold = PercentOf(settings.LimitOUT, settings.AlertPercent);

    if (settings.AlertType == AlertDistinct) {
        if (inThreshold != 0 && totalIn > inThreshold)
            return AlertInPassed;
        if (outThreshold != 0 && totalOut > outThreshold)
            return AlertOutPassed;
        // Neither distinct limit passed: the sum is still held against both together.
    } else if (settings.AlertType != AlertTotal && settings.AlertType != AlertNone) {
        return AlertUnchanged;
    }

    unsigned __int64 totalThreshold = AddHeld(inThreshold, outThreshold);
    if (settings.AlertType != AlertNone && totalThreshold != 0 &&
        AddHeld(totalIn, totalOut) > totalThreshold)
        return AlertSumPassed;
    return AlertClear;
}

const char* AlertVerdictText(AlertVerdict verdict)
{
    switch (verdict) {
    case AlertInPassed:
        return "IN passed the limit";
    case AlertOutPassed:
        return "OUT passed the limit";
    case AlertSumPassed:
        return "IN+OUT passed the limit";
    case AlertClear:
        return "";
    default:
        return NULL;
    }
}
