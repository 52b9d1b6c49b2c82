// One network adapter's counter: its traffic figures, the row it last applied, its reset
// schedule, its saved counters and its start, reset and stop lines. No window: the adapter's
// page shows one (InterfacePage).
#ifndef BRISVANE_INTERFACEMONITOR_H
#define BRISVANE_INTERFACEMONITOR_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>
#include <oleauto.h>

#include "AdapterMarks.h"
#include "AllAdapters.h"
#include "IniDocument.h"
#include "InterfaceIdentity.h"
#include "InterfaceRow.h"
#include "Settings.h"
#include "TrafficAccount.h"

// The figures (TrafficFigures) are counted by the plain accounting functions; the monitor adds
// the row it last applied, the reset schedule, the saved counters and the log lines.
class InterfaceMonitor : public TrafficFigures {
public:
    explicit InterfaceMonitor(const char* ipv4Text);
    InterfaceMonitor(const InterfaceMonitor&) = delete;
    InterfaceMonitor& operator=(const InterfaceMonitor&) = delete;

    // No row: marks the monitor absent. A row: the scheduled reset with its log lines, then the
    // accounting of what the counters grew since the last row, at the local time now and the
    // monotonic tick. True when IPv4Text changed in this call.
    bool ApplySample(const InterfaceRow* row, const SYSTEMTIME& now, ULONGLONG tick,
                     const SettingsRecord& settings);
    // The next row only primes: after a sleep the counters may have started again.
    void PrimeNextSample() { PrimeNext = true; }
    // Whether the row is this monitor's adapter: by hardware address, or by the interface
    // itself for a monitor NamedByInterface.
    bool IsInterfaceOf(const InterfaceRow* row) const;
    // The INI section of this adapter's counters: its MAC text, or the interface's own name.
    void SectionName(char* buffer, size_t size) const;
    // The adapter's MAC text, as both logs name it.
    void MacText(char* buffer, size_t size) const;
    // The description in UTF-8, within size bytes.
    void Description(char* buffer, size_t size) const;
    // Its saved totals, counts and start date from a document of the INI file.
    void LoadCounters(IniDocument& document, const char* section);
    // The user's marks from a document of the INI file; a missing "count in all adapters"
    // mark takes the rule's verdict over the row already set.
    void LoadMarks(IniDocument& document, const char* section);
    // Whether "All adapters" with physical adapters only adds this adapter.
    bool CountsInAll() const;
    bool Hidden() const { return Marks.Hidden.State == MarkSet && Marks.Hidden.Value; }
    // The user's change of a mark, saved at the end of the cycle.
    void SetHidden(bool hidden) { SetMark(Marks.Hidden, hidden); }
    void SetCountsInAll(bool counts) { SetMark(Marks.CountInAll, counts); }
    // Puts the adapter's section into a document of the INI file.
    void StoreCounters(IniDocument& document) const;
    // The user's reset: every figure starts again from date, which becomes StartDay.
    void Reset(DATE date);
    // The alert rule over the totals: AlertOn and AlertText, with the event line of a distinct
    // limit passed (at every cycle it stays passed).
    void EvaluateAlert(const SettingsRecord& settings);
    // The "connection was lost" line, once, when the adapter is absent.
    void NoteLostConnection();
    // The "Start" and "Stop" lines of the event log.
    void LogStart() const;
    void LogStop() const;

    MIB_IFROW IfRow;
    bool Present = false;
    VARIANT StartDay;  // VT_EMPTY or VT_DATE
    char IPv4Text[SHORT_TEXT];
    bool LostArmed = true;
    // What changed since the page last showed it.
    bool DescrChanged = true;
    bool MacChanged = true;
    bool SpeedChanged = true;
    bool AlertOn = false;
    // What the alert control says, and the verdict it says it of.
    char AlertText[SHORT_TEXT] = "";
    int TextVerdict = -1;
    // AlertOn as it was when the meter last looked for an alert to tell the user of.
    bool AlertNoticed = false;
    // Present as it was last told to whoever shows the adapter.
    bool PresenceTold = true;

    // Not part of the figures: bookkeeping of this program.
    bool SaveWanted = false;       // a reset happened: the counters are to be saved at once
    DATE LastSampleTime = 0;       // local time of the last applied row
    CounterReading LastReading;    // the counters of the last applied row, at their full width
    unsigned __int64 Luid = 0;     // the interface's LUID, 0 when the table gives none
    // A further interface with the hardware address of another one: named and matched by
    // itself (FormatInterfaceSectionName), never by the address.
    bool NamedByInterface = false;
    unsigned __int64 LinkSpeed = 0;  // bits per second, beyond what the 32-bit row holds
    bool MissedCycle = false;        // a cycle went by without a row for this adapter
    bool PrimeNext = false;          // the next row only primes
    int Hardware = HardwareUnknown;  // the row's hardware flag
    AdapterMarks Marks;              // hidden, counted in all adapters

private:
    void SetMark(AdapterMark& mark, bool value);
};

// The tray's summary of an adapter's totals: "In 1.20 GB, Out 210 MB, All 1.41 GB", cut to
// size. Returns the characters written.
int FormatTrafficSummary(const TrafficFigures& figures, char* buffer, size_t size);

// The "Since" text of a date: the user's short date, a line end and the time. True when the
// date could be formatted; the buffer is empty otherwise.
bool FormatSinceText(DATE date, char* buffer, size_t size);

#endif
