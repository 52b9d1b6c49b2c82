// The meter's alerts: each adapter's alert rule and its lost-connection line every cycle,
// whether or not anything shows the adapter, and a crossing told once.
#include "TrafficMeter.h"

#include "AlertNotice.h"
#include "BoundedText.h"
#include "LogChannel.h"
#include "TrafficAlert.h"

void TrafficMeter::EvaluateAlerts()
{
    for (InterfaceMonitor* monitor : Monitors) {
        // AlertOn is set before the page shows the text, so the repaint the new text causes
        // already sees it.
        AlertVerdict verdict = DecideAlert(monitor->Total_in, monitor->Total_out, Settings);
        if (verdict != AlertUnchanged) {
            monitor->AlertOn = verdict != AlertClear;
            // Only a distinct limit is logged, and at every cycle it stays passed.
            if (verdict == AlertInPassed || verdict == AlertOutPassed)
                EventLog.WriteLine("Monitor port '%s' - reached the alert limit\r\n",
                                   monitor->IPv4Text);
            CopyText(monitor->AlertText, sizeof(monitor->AlertText), AlertVerdictText(verdict));
        }
        if (!monitor->Present && monitor->LostArmed) {
            monitor->LostArmed = false;
            EventLog.WriteLine("Monitor port '%s' - connection was lost\r\n", monitor->IPv4Text);
        }
        bool wasOn = monitor->AlertNoticed;
        monitor->AlertNoticed = monitor->AlertOn;
        AlertNotice notice;
        if (DecideAlertNotice(wasOn, monitor->AlertOn, monitor->Total_in, monitor->Total_out,
                              Settings, &notice))
            Events.AlertCrossed(*monitor, notice);
    }
}
