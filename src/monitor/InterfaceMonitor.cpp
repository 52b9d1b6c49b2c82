#include "InterfaceMonitor.h"

#include <stdio.h>
#include <string.h>

#include "BoundedText.h"
#include "LogChannel.h"
#include "Platform.h"
#include "ResetSchedule.h"
#include "Settings.h"
#include "Utf8Text.h"
#include "resource.h"

#define SINCE_CHARS 256

InterfaceMonitor::InterfaceMonitor(const char* ipv4Text)
    : TrafficFigures(), IfRow(), Present(0), LostArmed(1), DescrChanged(1), MacChanged(1), SpeedChanged(1), AlertOn(0),
      SaveWanted(0), LastSampleTime(0), LastReading(), Luid(0), NamedByInterface(0), LinkSpeed(0), MissedCycle(0), PrimeNext(0),
      DeleteOnLastMessage(0)
{
    VariantInit(&StartDay);
    CopyText(IPv4Text, sizeof(IPv4Text), ipv4Text);
    memset(ShownText, 0, sizeof(ShownText));
    AlertText[0] = 0;
}

InterfaceMonitor::~InterfaceMonitor()
{
    VariantClear(&StartDay);
}

void InterfaceMonitor::OnLastMessage(HWND)
{
    if (DeleteOnLastMessage)
        delete this;
}

static void SetStartDay(VARIANT* startDay, DATE date)
{
    VariantClear(startDay);
    startDay->vt = VT_DATE;
    startDay->date = date;
}

const char* InterfaceMonitor::ApplySample(const MIB_IFROW* row)
{
    if (row == NULL)
        return ApplySample((const InterfaceRow*)NULL);
    InterfaceRow whole;
    RowFromIfRow(row, &whole);
    return ApplySample(&whole);
}

int InterfaceMonitor::IsInterfaceOf(const InterfaceRow* row) const
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

const char* InterfaceMonitor::ApplySample(const InterfaceRow* sample)
{
    if (sample == NULL) {
        // Absent at the start of a cycle, too, while no row came in the cycle before.
        if (!Present)
            MissedCycle = 1;
        Present = 0;
        return NULL;
    }
    const MIB_IFROW* row = &sample->Row;
    int presentBefore = !MissedCycle;
    MissedCycle = 0;
    Present = 1;
    CountedIn = 0;
    CountedOut = 0;

    SYSTEMTIME localTime;
    Platform.ReadLocalTime(&localTime);
    DATE now;
    if (!TimeToDate(&localTime, &now))
        now = LastSampleTime;
    if (StartDay.vt != VT_DATE)
        SetStartDay(&StartDay, now);

    int resetDone = 0;
    if (ResetDue(&localTime, &StartDay, Settings)) {
        char mac[SHORT_TEXT];
        FormatMacText(row->bPhysAddr, PhysAddrLength(row), mac, sizeof(mac));
        EventLog.WriteLine("The counters for %s port\t'%s'\twere reset because the reset date "
                           "was reached\r\n\tIN %10I64u bytes OUT %10I64u bytes\r\n",
                           mac, IPv4Text, Total_in, Total_out);
        if (Settings.EnableTrafficLog)
            TrafficLog.WriteLine("%s,%s,%I64u,%I64u,%I64u\r\n", mac, IPv4Text, Total_in,
                                 Total_out, Total_in + Total_out);
        SetStartDay(&StartDay, now);
        if (Window != NULL)
            ShowSince(now);
        ClearCounters(this);
        resetDone = 1;
    }

    CounterReading reading;
    reading.InOctets = sample->InOctets;
    reading.OutOctets = sample->OutOctets;
    reading.BitsPerSecond = sample->BitsPerSecond;
    reading.Wide = sample->Wide;
    reading.Tick = Platform.ReadTickCount();

    DWORD previous = SampleCount;
    SampleCount++;
    // The first row after creation, a reset or a sleep only primes: the last one may be from
    // long ago, or from counters that have started again since.
    if (previous != 0 && !PrimeNext) {
        unsigned __int64 in, out;
        if (MeasureGrowth(&LastReading, &reading, presentBefore, &in, &out))
            CountGrowth(this, in, out);
    }
    PrimeNext = 0;
    LastReading = reading;
    LastSampleTime = now;
    Luid = sample->Luid;

    if (sample->BitsPerSecond != LinkSpeed)
        SpeedChanged = 1;
    LinkSpeed = sample->BitsPerSecond;
    if (!SameHardwareAddress(row, &IfRow))
        MacChanged = 1;
    DWORD descrLength = DescrLength(row);
    if (descrLength != DescrLength(&IfRow) ||
        strncmp((const char*)IfRow.bDescr, (const char*)row->bDescr, descrLength) != 0)
        DescrChanged = 1;
    IfRow = *row;

    char ipv4Text[SHORT_TEXT];
    LookupIPv4Text(IfRow.dwIndex, ipv4Text, sizeof(ipv4Text));
    int textChanged = strcmp(ipv4Text, IPv4Text) != 0;
    if (textChanged)
        CopyText(IPv4Text, sizeof(IPv4Text), ipv4Text);

    // The main window saves every adapter at once, right after a reset too.
    if (resetDone)
        SaveWanted = 1;
    return textChanged ? IPv4Text : NULL;
}

void* ResetCounters(InterfaceMonitor* monitor, void* date)
{
    DATE start = *(const DATE*)date;
    SetStartDay(&monitor->StartDay, start);
    if (monitor->Window != NULL)
        monitor->ShowSince(start);
    ClearCounters(monitor);
    return NULL;
}

int FormatSinceText(DATE date, char* buffer, size_t size)
{
    if (size == 0)
        return 0;
    buffer[0] = 0;
    SYSTEMTIME time;
    if (!VariantTimeToSystemTime(date, &time))
        return 0;
    // The user's date and time forms may name months beyond the ANSI code page.
    wchar_t wide[SINCE_CHARS];
    int length = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, NULL, wide, SINCE_CHARS);
    if (length <= 0)
        return 0;
    length--;
    if (length + 3 <= SINCE_CHARS) {
        wide[length++] = L'\r';
        wide[length++] = L'\n';
        wide[length] = 0;
        if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, NULL, wide + length,
                           SINCE_CHARS - length) <= 0)
            wide[length] = 0;
    }
    WideToUtf8(wide, buffer, size);
    return 1;
}

void InterfaceMonitor::ShowSince(DATE date)
{
    if (Window == NULL)
        return;
    char text[SINCE_CHARS];
    FormatSinceText(date, text, sizeof(text));
    SetDlgItemTextW(Window, IDC_PAGE_SINCE, WideText(text));
}

void InterfaceMonitor::LoadCounters(const char* macText)
{
    Settings.ReadIniU64(macText, "Total_in", &Total_in);
    Settings.ReadIniU64(macText, "Total_out", &Total_out);
    Settings.ReadIniU32(macText, "ActiveCountIn", &ActiveCountIn);
    Settings.ReadIniU32(macText, "ActiveCountOut", &ActiveCountOut);
    Settings.ReadIniDate(macText, "StartDay", &StartDay);
    if (Window != NULL)
        ShowSince(StartDay.date);
}

void InterfaceMonitor::StoreCounters(IniDocument& document) const
{
    char section[SHORT_TEXT];
    SectionName(section, sizeof(section));
    Settings.WriteIniU64(document, section, "Total_in", Total_in);
    Settings.WriteIniU64(document, section, "Total_out", Total_out);
    Settings.WriteIniU32(document, section, "ActiveCountIn", ActiveCountIn);
    Settings.WriteIniU32(document, section, "ActiveCountOut", ActiveCountOut);
    if (StartDay.vt == VT_DATE)
        Settings.WriteIniDate(document, section, "StartDay", &StartDay);
}

void InterfaceMonitor::OnPageDestroy()
{
    char mac[SHORT_TEXT];
    FormatMacText(IfRow.bPhysAddr, PhysAddrLength(&IfRow), mac, sizeof(mac));
    EventLog.WriteLine("Monitor %s port\t'%s'\tStop IN %10I64u bytes OUT %10I64u bytes\r\n", mac,
                       IPv4Text, Total_in, Total_out);
}
