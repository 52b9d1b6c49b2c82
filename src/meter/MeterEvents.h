// What the meter has to tell whoever shows it: adapters met, relabelled, gone or back, an alert
// crossed, an early warning due, a save or log write failed. The meter calls these and never a
// window; each does nothing unless overridden.
#ifndef BRISVANE_METEREVENTS_H
#define BRISVANE_METEREVENTS_H

#include <windows.h>

#include "AlertNotice.h"
#include "IniDocument.h"
#include "InterfaceMonitor.h"
#include "PeriodForecast.h"

class MeterEvents {
public:
    virtual ~MeterEvents() = default;
    // A new adapter at that position of the meter's order, its counters loaded. False when it
    // cannot be shown now: the meter lets it go and tries it again a minute later.
    virtual bool AdapterAdded(InterfaceMonitor&, int /*position*/) { return true; }
    // Its IPv4 text changed.
    virtual void AdapterRelabelled(InterfaceMonitor&) {}
    // It left the table, or came back (Present says which). It is never removed.
    virtual void AdapterPresenceChanged(InterfaceMonitor&) {}
    // Its alert turned on since the last look.
    virtual void AlertCrossed(InterfaceMonitor&, const AlertNotice&) {}
    // Its period is heading past a limit; already marked as told.
    virtual void WarningDue(InterfaceMonitor&, const PeriodForecast&, const LimitPick&) {}
    // A save of the INI or history file failed (told once a run).
    virtual void SaveFailed(DWORD /*error*/, const char* /*path*/) {}
    // A log could not be written (told once a run).
    virtual void LogFailed(DWORD /*error*/, const char* /*path*/) {}
    // The windows' own sections, into the one document of every save.
    virtual void FillSave(IniDocument&) {}
};

#endif
