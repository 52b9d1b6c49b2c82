// The meter's cycle: read the interface table, find or make each row's adapter, apply the rows,
// keep the usage history, save when due, then the alerts and the forecasts.
#include "TrafficMeter.h"

#include <new>
#include <string.h>

#include "AddressTableCycle.h"
#include "AlertNotice.h"
#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "HistorySample.h"
#include "RunningFigures.h"
#include "SampleDay.h"
#include "InterfaceTable.h"
#include "LogChannel.h"
#include "StepTimer.h"
#include "TrafficAlert.h"

namespace {

constexpr size_t IPv4TextChars = 20;
constexpr char LoopbackText[] = "127.0.0.1";

}  // namespace

TrafficMeter::TrafficMeter(const SettingsRecord& settings, MeterEvents& events)
    : Settings(settings), Events(events)
{
}

TrafficMeter::~TrafficMeter()
{
    for (InterfaceMonitor* monitor : Monitors)
        delete monitor;
}

void TrafficMeter::Load(IniDocument& document)
{
    ReadTodayFigures(Usage, document, IniPath);
    ReadForecastState(document, &Forecasts.Warning);
}

InterfaceMonitor* TrafficMeter::At(int position) const
{
    if (position < 0 || position >= Monitors.Count())
        return nullptr;
    return Monitors[position];
}

int TrafficMeter::PositionOf(const InterfaceMonitor* monitor) const
{
    for (int position = 0; position < Monitors.Count(); position++)
        if (Monitors[position] == monitor)
            return position;
    return -1;
}

void TrafficMeter::PollCycle(const SYSTEMTIME& now, ULONGLONG tick, IniDocument* loaded)
{
    // Nothing to count into once the session has ended.
    if (Busy || StopDone)
        return;
    Busy = true;

    InterfaceTable table;  // let go of at the end of the cycle
    if (!ReadInterfaceTable(&table, &IfTableSize)) {
        Busy = false;
        return;
    }
    StepLap(StepInterfaceTable);
    Cycles++;
    AddressTableCycle addresses;  // one address-table read serves every lookup of the cycle
    StepLap(StepAddressTable);

    // The day the cycle's samples count for in the usage history.
    int today = 0;
    bool knowToday = SampleDay(&now, &today) != 0;

    for (InterfaceMonitor* monitor : Monitors)
        monitor->ApplySample(nullptr, now, tick, Settings);
    IniDocument readHere;  // the INI file, read once for the adapters first met in this cycle
    bool readDone = false;
    for (int i = 0; i < table.Count(); i++) {
        InterfaceRow* sample = &table[i];
        MIB_IFROW* row = &sample->Row;
        char ipv4Text[IPv4TextChars];
        if (!LookupIPv4Text(row->dwIndex, ipv4Text, sizeof(ipv4Text)))
            continue;
        if (Settings.IgnoreLoopBack && strcmp(ipv4Text, LoopbackText) == 0)
            continue;
        InterfaceMonitor* monitor = MonitorOfRow(sample, ipv4Text, i, loaded, readHere, readDone);
        if (monitor == nullptr)
            continue;
        StepLap(StepMatching);
        if (monitor->ApplySample(sample, now, tick, Settings))
            Events.AdapterRelabelled(*monitor);
        StepLap(StepAccounting);
        // Exactly what the sample added to the totals, so that the days add up to them.
        if (knowToday && (monitor->CountedIn != 0 || monitor->CountedOut != 0)) {
            char name[SHORT_TEXT];
            monitor->SectionName(name, sizeof(name));
            AddHistorySample(Usage, today, name, row, monitor->CountedIn, monitor->CountedOut);
        }
        StepLap(StepHistorySample);
    }
    for (InterfaceMonitor* monitor : Monitors) {
        if (monitor->Present != monitor->PresenceTold) {
            monitor->PresenceTold = monitor->Present;
            Events.AdapterPresenceChanged(*monitor);
        }
    }
    bool saveWanted = ForEachMonitor([](InterfaceMonitor& m) { return m.SaveWanted; }) != nullptr;
    if (Cycles - LastSaveCycle >= SaveEveryCycles || saveWanted)
        SaveAll();
    StepLap(StepSave);
    EvaluateAlerts();
    StepLap(StepPages);
    if (knowToday)
        UpdateForecasts(now, today, tick);
    StepLap(StepForecast);
    ReportLogFailures();
    StepLap(StepLogCheck);
    Busy = false;
}

// The row's monitor, made when missing; null when the row is to be passed over.
InterfaceMonitor* TrafficMeter::MonitorOfRow(const InterfaceRow* sample, const char* ipv4Text,
                                             int position, IniDocument*& loaded,
                                             IniDocument& readHere, bool& readDone)
{
    // What the monitors say of the row. A monitor that took a row this cycle is Present; none
    // takes two rows of a cycle, so no interface's counters meet another's.
    InterfaceMonitor* own = nullptr;      // a monitor named by this very interface
    InterfaceMonitor* address = nullptr;  // the monitor named by the row's address, free
    bool ownTaken = false;                // this interface's row came twice
    bool addressTaken = false;            // another interface took the address's monitor
    for (InterfaceMonitor* monitor : Monitors) {
        if (!monitor->IsInterfaceOf(sample))
            continue;
        if (monitor->NamedByInterface) {
            if (monitor->Present)
                ownTaken = true;
            else if (own == nullptr)
                own = monitor;
        } else if (monitor->Present) {
            addressTaken = true;
        } else if (address == nullptr) {
            address = monitor;
        }
    }
    if (own != nullptr)
        return own;
    if (ownTaken)
        return nullptr;
    if (address != nullptr) {
        // The address's section went to another interface with this address: its counters
        // only set the starting point.
        if (address->SampleCount != 0 && !SameInterfaceInstance(&address->IfRow, address->Luid,
                                                                 &sample->Row, sample->Luid))
            address->PrimeNextSample();
        return address;
    }
    // The same interface twice without an address to tell it by: counted once.
    if (addressTaken && PhysAddrLength(&sample->Row) == 0)
        return nullptr;
    if (AdapterWaitsAfterFailure(sample))
        return nullptr;
    if (loaded == nullptr) {
        // Read once, for every adapter first met in this cycle.
        if (!readDone) {
            readDone = true;
            if (IniPath[0] != 0)
                readHere.Read(IniPath);
        }
        return AddMonitor(sample, ipv4Text, position, addressTaken, readHere);
    }
    return AddMonitor(sample, ipv4Text, position, addressTaken, *loaded);
}

bool TrafficMeter::AdapterWaitsAfterFailure(const InterfaceRow* row)
{
    for (FailedAdapter& failed : FailedAdapters) {
        if (failed.Used && SameInterface(&failed.Identity.Row, failed.Identity.Luid, &row->Row,
                                         row->Luid)) {
            if ((int)(Cycles - failed.RetryCycle) < 0)
                return true;
            failed.Used = false;
            return false;
        }
    }
    return false;
}

void TrafficMeter::RememberFailedAdapter(const InterfaceRow* row)
{
    int slot = 0;
    for (int i = 0; i < FailedAdapterSlots; i++) {
        if (!FailedAdapters[i].Used) {
            slot = i;
            break;
        }
        // All slots taken: reuse the one whose wait ends first.
        if ((int)(FailedAdapters[i].RetryCycle - FailedAdapters[slot].RetryCycle) < 0)
            slot = i;
    }
    FailedAdapter& failed = FailedAdapters[slot];
    failed.Identity = *row;
    failed.RetryCycle = Cycles + FailedAdapterRetryCycles;
    failed.Used = true;
}

InterfaceMonitor* TrafficMeter::AddMonitor(const InterfaceRow* sample, const char* ipv4Text,
                                           int position, bool namedByInterface,
                                           IniDocument& document)
{
    const MIB_IFROW* row = &sample->Row;
    InterfaceMonitor* monitor = new (std::nothrow) InterfaceMonitor(ipv4Text);
    if (monitor == nullptr)
        return nullptr;
    // Later adapters stand where their row stands in the table, as far as there are others.
    if (position > Monitors.Count())
        position = Monitors.Count();
    if (!Monitors.InsertAt(position, monitor)) {
        delete monitor;
        return nullptr;
    }
    monitor->NamedByInterface = namedByInterface;
    // The row names the adapter in its start line and its section before its first sample.
    monitor->IfRow = *row;
    monitor->Luid = sample->Luid;
    monitor->Hardware = sample->Hardware;
    char section[SHORT_TEXT];
    if (namedByInterface)
        FormatInterfaceSectionName(row, sample->Luid, section, sizeof(section));
    else
        FormatSectionName(row, sample->Luid, section, sizeof(section));
    monitor->LoadCounters(document, section);
    monitor->LoadMarks(document, section);
    if (!Events.AdapterAdded(*monitor, position)) {
        // Not shown, not counted, nothing to save: tried again a minute later.
        Monitors.RemoveAt(position);
        delete monitor;
        RememberFailedAdapter(sample);
        return nullptr;
    }
    monitor->LogStart();
    return monitor;
}
