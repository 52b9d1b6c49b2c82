#include "InterfaceMonitor.h"

#include <stdio.h>
#include <string.h>

#include "AllAdapters.h"
#include "BoundedText.h"
#include "DateValue.h"
#include "ByteAmountText.h"
#include "LanguageResources.h"
#include "LogChannel.h"
#include "ResetSchedule.h"
#include "TrafficAlert.h"
#include "Utf8Text.h"
#include "resource.h"

namespace {

constexpr int SinceChars = 256;

// A date holds nothing to free, so the OLE automation library is not needed to clear it.
void SetStartDay(VARIANT* startDay, DATE date)
{
    startDay->vt = VT_DATE;
    startDay->date = date;
}

}  // namespace

InterfaceMonitor::InterfaceMonitor(const char* ipv4Text)
    : TrafficFigures(), IfRow(), StartDay(), LastReading()
{
    CopyText(IPv4Text, sizeof(IPv4Text), ipv4Text);
}

bool InterfaceMonitor::IsInterfaceOf(const InterfaceRow* row) const
{
    if (NamedByInterface)
        return SameInterfaceInstance(&IfRow, Luid, &row->Row, row->Luid);
    return SameInterface(&IfRow, Luid, &row->Row, row->Luid);
}

void InterfaceMonitor::SectionName(char* buffer, size_t size) const
{
    if (NamedByInterface)
        FormatInterfaceSectionName(&IfRow, Luid, buffer, size);
    else
        FormatSectionName(&IfRow, Luid, buffer, size);
}

void InterfaceMonitor::MacText(char* buffer, size_t size) const
{
    FormatMacText(IfRow.bPhysAddr, PhysAddrLength(&IfRow), buffer, size);
}

void InterfaceMonitor::Description(char* buffer, size_t size) const
{
    if (size == 0)
        return;
    size_t length = DescrLength(&IfRow);
    if (length >= size)
        length = size - 1;
    memcpy(buffer, IfRow.bDescr, length);
    buffer[length] = 0;
}

bool InterfaceMonitor::ApplySample(const InterfaceRow* sample, const SYSTEMTIME& localTime,
                                   ULONGLONG tick, const SettingsRecord& settings)
{
    if (sample == NULL) {
        // Absent at the start of a cycle, too, while no row came in the cycle before.
        if (!Present)
            MissedCycle = true;
        Present = false;
        return false;
    }
    const MIB_IFROW* row = &sample->Row;
    bool presentBefore = !MissedCycle;
    MissedCycle = false;
    Present = true;
    CountedIn = 0;
    CountedOut = 0;

    DATE now;
    if (!TimeToDate(&localTime, &now))
        now = LastSampleTime;
    if (StartDay.vt != VT_DATE)
        SetStartDay(&StartDay, now);

    bool resetDone = false;
    if (ResetDue(&localTime, &StartDay, settings)) {
        char mac[SHORT_TEXT];
        FormatMacText(row->bPhysAddr, PhysAddrLength(row), mac, sizeof(mac));
        EventLog.WriteLine("The counters for %s port\t'%s'\twere reset because the reset date "
                           "was reached\r\n\tIN %10I64u bytes OUT %10I64u bytes\r\n",
                           mac, IPv4Text, Total_in, Total_out);
        if (settings.EnableTrafficLog)
            TrafficLog.WriteLine("%s,%s,%I64u,%I64u,%I64u\r\n", mac, IPv4Text, Total_in,
                                 Total_out, Total_in + Total_out);
        SetStartDay(&StartDay, now);
        ClearCounters(this);
        resetDone = true;
    }

    CounterReading reading;
    reading.InOctets = sample->InOctets;
    reading.OutOctets = sample->OutOctets;
    reading.BitsPerSecond = sample->BitsPerSecond;
    reading.Wide = sample->Wide;
    reading.Tick = tick;

    DWORD previous = SampleCount;
    SampleCount++;
    // The first row after creation, a reset or a sleep only primes: the last one may be from
    // long ago, or from counters that have started again since.
    if (previous != 0 && !PrimeNext) {
        unsigned __int64 in, out;
        if (MeasureGrowth(&LastReading, &reading, presentBefore, &in, &out))
            CountGrowth(this, in, out);
    }
    PrimeNext = false;
    LastReading = reading;
    LastSampleTime = now;
    Luid = sample->Luid;
    Hardware = sample->Hardware;

    if (sample->BitsPerSecond != LinkSpeed)
        SpeedChanged = true;
    LinkSpeed = sample->BitsPerSecond;
    if (!SameHardwareAddress(row, &IfRow))
        MacChanged = true;
    DWORD descrLength = DescrLength(row);
    if (descrLength != DescrLength(&IfRow) ||
        strncmp((const char*)IfRow.bDescr, (const char*)row->bDescr, descrLength) != 0)
        DescrChanged = true;
    IfRow = *row;

    char ipv4Text[SHORT_TEXT];
    LookupIPv4Text(IfRow.dwIndex, ipv4Text, sizeof(ipv4Text));
    bool textChanged = strcmp(ipv4Text, IPv4Text) != 0;
    if (textChanged)
        CopyText(IPv4Text, sizeof(IPv4Text), ipv4Text);

    // The meter saves every adapter at once, right after a reset too.
    if (resetDone)
        SaveWanted = true;
    return textChanged;
}

void InterfaceMonitor::Reset(DATE date)
{
    SetStartDay(&StartDay, date);
    ClearCounters(this);
}

void InterfaceMonitor::LoadCounters(IniDocument& document, const char* section)
{
    ReadIniU64(document, section, "Total_in", &Total_in);
    ReadIniU64(document, section, "Total_out", &Total_out);
    ReadIniU32(document, section, "ActiveCountIn", &ActiveCountIn);
    ReadIniU32(document, section, "ActiveCountOut", &ActiveCountOut);
    ReadIniDate(document, section, "StartDay", &StartDay);
}

void InterfaceMonitor::LoadMarks(IniDocument& document, const char* section)
{
    Marks = ReadAdapterMarks(document, section);
    // Recorded at first sight, so that the history knows which adapters count when they are
    // not there; from then on only the user changes it.
    if (Marks.CountInAll.State == MarkMissing) {
        Marks.CountInAll.State = MarkSet;
        Marks.CountInAll.Value = IsPhysicalInterface(Hardware, IfRow.dwType);
    }
}

bool InterfaceMonitor::CountsInAll() const
{
    if (Marks.CountInAll.State == MarkSet)
        return Marks.CountInAll.Value;
    return IsPhysicalInterface(Hardware, IfRow.dwType);
}

void InterfaceMonitor::SetMark(AdapterMark& mark, bool value)
{
    mark.State = MarkSet;
    mark.Value = value;
    SaveWanted = true;
}

void InterfaceMonitor::StoreCounters(IniDocument& document) const
{
    char section[SHORT_TEXT];
    SectionName(section, sizeof(section));
    StoreAdapterMarks(Marks, document, section);
    WriteIniU64(document, section, "Total_in", Total_in);
    WriteIniU64(document, section, "Total_out", Total_out);
    WriteIniU32(document, section, "ActiveCountIn", ActiveCountIn);
    WriteIniU32(document, section, "ActiveCountOut", ActiveCountOut);
    if (StartDay.vt == VT_DATE)
        WriteIniDate(document, section, "StartDay", &StartDay);
}

void InterfaceMonitor::EvaluateAlert(const SettingsRecord& settings)
{
    AlertVerdict verdict = DecideAlert(Total_in, Total_out, settings);
    if (verdict == AlertUnchanged)
        return;
    // AlertOn is set before the page shows the text, so the repaint the new text causes
    // already sees it.
    AlertOn = verdict != AlertClear;
    // Only a distinct limit is logged, and at every cycle it stays passed.
    if (verdict == AlertInPassed || verdict == AlertOutPassed)
        EventLog.WriteLine("Monitor port '%s' - reached the alert limit\r\n", IPv4Text);
    // The text is loaded only when the verdict changes: most seconds it stays as it is.
    if (verdict != TextVerdict) {
        LoadText(AlertVerdictTextId(verdict), AlertText, sizeof(AlertText));
        TextVerdict = verdict;
    }
}

void InterfaceMonitor::NoteLostConnection()
{
    if (Present || !LostArmed)
        return;
    LostArmed = false;
    EventLog.WriteLine("Monitor port '%s' - connection was lost\r\n", IPv4Text);
}

void InterfaceMonitor::LogStart() const
{
    char mac[SHORT_TEXT];
    MacText(mac, sizeof(mac));
    EventLog.WriteLine("Monitor %s port '%s'\tStart\r\n", mac, IPv4Text);
}

void InterfaceMonitor::LogStop() const
{
    char mac[SHORT_TEXT];
    MacText(mac, sizeof(mac));
    EventLog.WriteLine("Monitor %s port\t'%s'\tStop IN %10I64u bytes OUT %10I64u bytes\r\n", mac,
                       IPv4Text, Total_in, Total_out);
}

bool FormatSinceText(DATE date, char* buffer, size_t size)
{
    if (size == 0)
        return false;
    buffer[0] = 0;
    SYSTEMTIME time;
    if (!DateToTime(date, &time))
        return false;
    // The user's date and time forms may name months beyond the ANSI code page.
    wchar_t wide[SinceChars];
    int length = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, NULL, wide, SinceChars);
    if (length <= 0)
        return false;
    length--;
    if (length + 3 <= SinceChars) {
        wide[length++] = L'\r';
        wide[length++] = L'\n';
        wide[length] = 0;
        if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, NULL, wide + length,
                           SinceChars - length) <= 0)
            wide[length] = 0;
    }
    WideToUtf8(wide, buffer, size);
    return true;
}

int FormatTrafficSummary(const TrafficFigures& figures, char* buffer, size_t size)
{
    char in[SHORT_TEXT], out[SHORT_TEXT], all[SHORT_TEXT];
    FormatByteAmount(figures.Total_in, "B", in, sizeof(in));
    FormatByteAmount(figures.Total_out, "B", out, sizeof(out));
    FormatByteAmount(figures.Total_in + figures.Total_out, "B", all, sizeof(all));
    const char* parts[] = {in, out, all};
    return FormatText(buffer, size, IDS_TRAFFIC_SUMMARY, parts, 3);
}
