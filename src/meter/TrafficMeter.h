// The traffic meter: every adapter's counter in the order of the tabs that show them, driven
// by one call a tick. It reads the interface table, matches rows to adapters, counts, resets,
// saves about once a minute, keeps the usage history and the period forecasts, and decides
// alerts and early warnings. It makes no window: what is to be shown or told goes to its
// MeterEvents.
#ifndef BRISVANE_TRAFFICMETER_H
#define BRISVANE_TRAFFICMETER_H

#include <windows.h>

#include "ForecastKeeper.h"
#include "GrowArray.h"
#include "InterfaceMonitor.h"
#include "MeterEvents.h"
#include "Settings.h"
#include "UsageHistory.h"

class TrafficMeter {
public:
    // The settings are read at every cycle, so a change by the settings dialog counts at once.
    TrafficMeter(const SettingsRecord& settings, MeterEvents& events);
    ~TrafficMeter();
    TrafficMeter(const TrafficMeter&) = delete;
    TrafficMeter& operator=(const TrafficMeter&) = delete;

    // Today's running figures and the early warning's state, from the start's document of the
    // INI file.
    void Load(IniDocument& document);
    // One tick at the local time now and the monotonic tick. New adapters read their counters
    // from loaded when given (the start's document), else from the INI file, read once in the
    // cycle that meets them. A cycle inside a cycle, or after Stop, does nothing.
    void PollCycle(const SYSTEMTIME& now, ULONGLONG tick, IniDocument* loaded = nullptr);

    // Visits the adapters in order; the first for which visit returns true ends the visit and
    // is returned (null when none does).
    template <class Visit>
    InterfaceMonitor* ForEachMonitor(Visit visit) const
    {
        for (InterfaceMonitor* monitor : Monitors)
            if (visit(*monitor))
                return monitor;
        return nullptr;
    }
    int Count() const { return Monitors.Count(); }
    // Whether an adapter with a tab counts in "all adapters" (AddedToAllAdapters).
    bool AnyShownCountsInAll() const
    {
        return ForEachMonitor([](const InterfaceMonitor& monitor) {
                   return !monitor.Hidden() && monitor.CountsInAll();
               }) != nullptr;
    }
    InterfaceMonitor* At(int position) const;
    int PositionOf(const InterfaceMonitor* monitor) const;

    // One save of everything into the INI file: the settings, every adapter's counters, the
    // running figures (finished days into the history file first), the warning's state and
    // the windows' sections (MeterEvents::FillSave). A failure is told once a run.
    bool SaveAll();
    // The end of the session, once: everything saved, then each adapter's stop line. Cycles
    // do nothing from then on.
    void Stop();
    bool Stopped() const { return StopDone; }
    // After a sleep: adapters may have started their counters again, so the next row of each
    // only primes.
    void PrimeAll();
    // The user's reset of every adapter, from one moment, with one line in the event log.
    void ResetAll(DATE date);
    // A failed save of the INI file (by the meter or another): logged and told, once a run.
    void TellSaveFailure(DWORD error, const char* path);

    UsageHistory& History() { return Usage; }
    ForecastWarningState& Warning() { return Forecasts.Warning; }
    // The forecast of the adapter's period as last worked out, or null.
    const PeriodForecast* LatestForecastOf(const InterfaceMonitor& monitor) const;
    DWORD CycleCount() const { return Cycles; }
    // Cycles between two saves of every adapter's counters (about a minute), so that a killed
    // process loses little.
    static constexpr DWORD SaveEveryCycles = 60;
    // Adapters that could not be shown wait this many cycles before the next try.
    static constexpr DWORD FailedAdapterRetryCycles = 60;

private:
    InterfaceMonitor* MonitorOfRow(const InterfaceRow* row, const char* ipv4Text, int position,
                                   IniDocument*& loaded, IniDocument& readHere, bool& readDone);
    InterfaceMonitor* AddMonitor(const InterfaceRow* row, const char* ipv4Text, int position,
                                 bool namedByInterface, IniDocument& document);
    bool AdapterWaitsAfterFailure(const InterfaceRow* row);
    void RememberFailedAdapter(const InterfaceRow* row);
    // Every adapter's alert and its lost-connection line; a crossing goes to the events.
    void EvaluateAlerts();
    // Once a minute, or when the day or the history file changed: every adapter's forecast,
    // and the early warning where one is due.
    void UpdateForecasts(const SYSTEMTIME& now, int today, ULONGLONG tick);
    void WriteHistoryInto(IniDocument& document);
    void ReportLogFailures();

    const SettingsRecord& Settings;
    MeterEvents& Events;
    GrowArray<InterfaceMonitor*> Monitors;
    bool Busy = false;
    bool StopDone = false;
    DWORD Cycles = 0;
    DWORD LastSaveCycle = 0;
    bool SaveFailureReported = false;
    bool LogFailureReported = false;
    ULONG IfTableSize = 0;  // what the last read of the 32-bit interface table needed

    static constexpr int FailedAdapterSlots = 8;
    struct FailedAdapter {
        InterfaceRow Identity;  // only what tells adapters apart is used
        DWORD RetryCycle;
        bool Used;
    };
    FailedAdapter FailedAdapters[FailedAdapterSlots] = {};

    UsageHistory Usage;         // the bytes of each adapter and day
    ForecastKeeper Forecasts;   // the period forecasts and the early warning's state
};

#endif
