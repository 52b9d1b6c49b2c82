#include "TrafficAlert.h"

#define PERCENT 100

AlertVerdict DecideAlert(unsigned __int64 totalIn, unsigned __int64 totalOut,
                         const SettingsRecord& settings)
{
    unsigned __int64 percent = settings.AlertPercent;
    unsigned __int64 inThreshold = percent * settings.LimitIN / PERCENT;
    unsigned __int64 outThreshold = percent * settings.LimitOUT / PERCENT;

    if (settings.AlertType == AlertDistinct) {
        if (inThreshold != 0 && totalIn > inThreshold)
            return AlertInPassed;
        if (outThreshold != 0 && totalOut > outThreshold)
            return AlertOutPassed;
        // Neither distinct limit passed: the sum is still held against both together.
    } else if (settings.AlertType != AlertTotal && settings.AlertType != AlertNone) {
        return AlertUnchanged;
    }

    unsigned __int64 totalThreshold = inThreshold + outThreshold;
    if (settings.AlertType != AlertNone && totalThreshold != 0 &&
        totalIn + totalOut > totalThreshold)
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
