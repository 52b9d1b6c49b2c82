// The meter's alerts: each adapter's alert rule and its lost-connection line every cycle,
// whether or not anything shows the adapter, and a crossing told once.
#include "TrafficMeter.h"

#include "AlertNotice.h"

void TrafficMeter::EvaluateAlerts()
{
    for (InterfaceMonitor* monitor : Monitors) {
        monitor->EvaluateAlert(Settings);
        monitor->NoteLostConnection();
        bool wasOn = monitor->AlertNoticed;
        monitor->AlertNoticed = monitor->AlertOn;
        AlertNotice notice;
        if (DecideAlertNotice(wasOn, monitor->AlertOn, monitor->Total_in, monitor->Total_out,
                              Settings, &notice))
            Events.AlertCrossed(*monitor, notice);
    }
}
