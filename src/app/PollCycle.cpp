// The once-a-second poll cycle: read the interface table, find or create each adapter's
// monitor, apply the rows, refresh the pages, then the tray icon, its tip and the title.
#include <memory>
#include <new>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "InterfaceMonitor.h"
#include "InterfaceTable.h"
#include "LogChannel.h"
#include "Utf8Text.h"
#include "MainWindow.h"
#include "TabStrip.h"
#include "Platform.h"
#include "AddressTableCycle.h"
#include "AlertNotice.h"
#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "Settings.h"
#include "StepTimer.h"

#define IPV4_TEXT_CHARS 20
#define LOOPBACK_TEXT "127.0.0.1"
#define TRAY_TIP_PREFIX "Brisvane: "
#define TRAY_TIP_ALONE "Brisvane"
#define BALLOON_TITLE "Brisvane: alert limit reached"

void* MainWindow::ForEachMonitor(MonitorCallback callback, void* argument)
{
    TabStrip tabs = Tabs();
    int count = tabs.Count();
    for (int position = 0; position < count; position++) {
        InterfaceMonitor* monitor = tabs.MonitorAt(position);
        if (monitor == NULL)
            continue;
        void* result = callback(monitor, argument);
        if (result != NULL)
            return result;
    }
    return NULL;
}

InterfaceMonitor* MainWindow::SelectedMonitor()
{
    TabStrip tabs = Tabs();
    return tabs.MonitorAt(tabs.Selected());
}

// What the monitors say of one row of the cycle. A monitor that took a row this cycle is
// Present; none takes two rows of a cycle, so no interface's counters meet another's.
struct RowMatch {
    const InterfaceRow* Row;
    InterfaceMonitor* Own;      // a monitor named by this very interface
    InterfaceMonitor* Address;  // the monitor named by the row's address, free this cycle
    int OwnTaken;               // this interface's row came twice
    int AddressTaken;           // another interface took the address's monitor this cycle
};

static void* MatchInterface(InterfaceMonitor* monitor, void* context)
{
    RowMatch& match = *(RowMatch*)context;
    if (!monitor->IsInterfaceOf(match.Row))
        return NULL;
    if (monitor->NamedByInterface) {
        if (monitor->Present)
            match.OwnTaken = 1;
        else if (match.Own == NULL)
            match.Own = monitor;
    } else if (monitor->Present) {
        match.AddressTaken = 1;
    } else if (match.Address == NULL) {
        match.Address = monitor;
    }
    return NULL;
}

// The row's monitor, made when missing; null when the row is to be passed over.
InterfaceMonitor* MainWindow::MonitorOfRow(const InterfaceRow* sample, const char* ipv4Text,
                                           DWORD position)
{
    RowMatch match = {sample, NULL, NULL, 0, 0};
    ForEachMonitor(MatchInterface, &match);
    if (match.Own != NULL)
        return match.Own;
    if (match.OwnTaken)
        return NULL;
    if (match.Address != NULL) {
        // The address's section went to another interface with this address: its counters
        // only set the starting point.
        InterfaceMonitor* monitor = match.Address;
        if (monitor->SampleCount != 0 &&
            !SameInterfaceInstance(&monitor->IfRow, monitor->Luid, &sample->Row, sample->Luid))
            monitor->PrimeNextSample();
        return monitor;
    }
    // The same interface twice without an address to tell it by: counted once.
    if (match.AddressTaken && PhysAddrLength(&sample->Row) == 0)
        return NULL;
    return AddMonitor(sample, ipv4Text, position, match.AddressTaken);
}

static void* MarkAbsent(InterfaceMonitor* monitor, void*)
{
    monitor->ApplySample((const InterfaceRow*)NULL);
    return NULL;
}

static void* WantsSave(InterfaceMonitor* monitor, void*)
{
    return monitor->SaveWanted ? monitor : NULL;
}

static void* RefreshMonitor(InterfaceMonitor* monitor, void* mainWindow)
{
    monitor->RefreshPage();
    ((MainWindow*)mainWindow)->NoticeAlertCrossing(monitor);
    return NULL;
}

LRESULT MainWindow::PollCycle()
{
    // Nothing to count into once the pages are gone.
    if (PollBusy || ShutdownDone)
        return 0;
    PollBusy = 1;
    StepCycleBegin();

    InterfaceTable table;  // let go of at the end of the cycle
    if (!ReadInterfaceTable(&table, &IfTableSize)) {
        PollBusy = 0;
        StepCycleEnd();
        return 0;
    }
    StepLap(StepInterfaceTable);
    CycleCount++;
    AddressTableCycle addresses;  // one address-table read serves every lookup of the cycle
    StepLap(StepAddressTable);

    // The day the cycle's samples count for in the usage history.
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int today = 0;
    int knowToday = SampleDay(&now, &today);

    ForEachMonitor(MarkAbsent, NULL);
    for (int i = 0; i < table.Count(); i++) {
        InterfaceRow* sample = &table[i];
        MIB_IFROW* row = &sample->Row;
        char ipv4Text[IPV4_TEXT_CHARS];
        if (!LookupIPv4Text(row->dwIndex, ipv4Text, sizeof(ipv4Text)))
            continue;
        if (Settings.IgnoreLoopBack && strcmp(ipv4Text, LOOPBACK_TEXT) == 0)
            continue;
        InterfaceMonitor* monitor = MonitorOfRow(sample, ipv4Text, (DWORD)i);
        if (monitor == NULL)
            continue;
        StepLap(StepMatching);
        const char* newText = monitor->ApplySample(sample);
        if (newText != NULL)
            Tabs().Relabel(monitor, newText);
        StepLap(StepAccounting);
        // Exactly what the sample added to the totals, so that the days add up to them.
        if (knowToday && (monitor->CountedIn != 0 || monitor->CountedOut != 0)) {
            char name[SHORT_TEXT];
            monitor->SectionName(name, sizeof(name));
            AddHistorySample(History, today, name, row, monitor->CountedIn, monitor->CountedOut);
        }
        StepLap(StepHistorySample);
    }
    if (CycleCount - LastSaveCycle >= SaveEveryCycles || ForEachMonitor(WantsSave, NULL) != NULL)
        SaveAllCounters();
    StepLap(StepSave);
    ForEachMonitor(RefreshMonitor, this);
    StepLap(StepPages);
    if (knowToday)
        UpdateForecasts(now, today);
    StepLap(StepForecast);
    ReportLogFailures();
    StepLap(StepLogCheck);
    UpdateTrayAndTitle();
    HistoryView.Refresh();
    StepLap(StepHistoryWindow);

    PollBusy = 0;
    StepCycleEnd();
    return 0;
}

int MainWindow::AdapterWaitsAfterFailure(const InterfaceRow* row)
{
    for (int i = 0; i < FailedAdapterSlots; i++) {
        FailedAdapter& failed = FailedAdapters[i];
        if (failed.Used && SameInterface(&failed.Identity.Row, failed.Identity.Luid, &row->Row,
                                         row->Luid)) {
            if ((int)(CycleCount - failed.RetryCycle) < 0)
                return 1;
            failed.Used = 0;
            return 0;
        }
    }
    return 0;
}

void MainWindow::RememberFailedAdapter(const InterfaceRow* row)
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
    failed.RetryCycle = CycleCount + FailedAdapterRetryCycles;
    failed.Used = 1;
}

InterfaceMonitor* MainWindow::AddMonitor(const InterfaceRow* sample, const char* ipv4Text,
                                         DWORD position, int namedByInterface)
{
    const MIB_IFROW* row = &sample->Row;
    if (AdapterWaitsAfterFailure(sample))
        return NULL;
    // Owned here until its page is in the tab strip; then the page's last message deletes it.
    std::unique_ptr<InterfaceMonitor> owned(new (std::nothrow) InterfaceMonitor(ipv4Text));
    InterfaceMonitor* monitor = owned.get();
    if (monitor == NULL)
        return NULL;
    HWND page = monitor->CreateModeless(TabControl, IDD_PAGE);
    if (page == NULL) {
        RememberFailedAdapter(sample);
        return NULL;
    }
    // The template has a caption; a page must not.
    LONG style = GetWindowLongW(page, GWL_STYLE);
    if (style & WS_CAPTION)
        SetWindowLongW(page, GWL_STYLE, style & ~WS_CAPTION);

    TabStrip tabs = Tabs();
    int inserted = tabs.Insert((int)position, monitor, monitor->IPv4Text);
    if (inserted < 0) {
        // No tab can reach this page: drop it quietly (nothing counted, nothing to save).
        monitor->Detach(page);
        DestroyWindow(page);
        RememberFailedAdapter(sample);
        return NULL;
    }
    monitor->DeleteOnLastMessage = 1;
    monitor->NamedByInterface = namedByInterface;
    owned.release();
    // The first tab brings the row of tabs, which the window makes room for.
    if (tabs.Count() == 1)
        FitToPage();

    char macText[SHORT_TEXT];
    FormatMacText(row->bPhysAddr, PhysAddrLength(row), macText, sizeof(macText));
    EventLog.WriteLine("Monitor %s port '%s'\tStart\r\n", macText, ipv4Text);

    SendMessageW(page, WM_NCACTIVATE, TRUE, 0);
    if (inserted == 0) {
        InterfaceMonitor* shown = SelectedMonitor();
        if (shown != NULL && shown->Window != NULL)
            ShowWindow(shown->Window, SW_HIDE);
        tabs.Select(0);
        FitCurrentPage(TRUE);
    }
    char section[SHORT_TEXT];
    if (namedByInterface)
        FormatInterfaceSectionName(row, sample->Luid, section, sizeof(section));
    else
        FormatSectionName(row, sample->Luid, section, sizeof(section));
    monitor->LoadCounters(section);
    return monitor;
}

void MainWindow::UpdateTrayAndTitle()
{
    InterfaceMonitor* monitor = SelectedMonitor();
    HICON icon = FeedSpeedViews(monitor);
    BOOL minimised = IsIconic(Window);
    char tip[FULL_TIP_CHARS] = "";
    if (minimised || Tray.WantsTip(icon))
        FormatTrayTip(monitor, tip, TRAY_TIP_CHARS);
    char summary[TRAY_TIP_CHARS];
    CopyText(summary, sizeof(summary), tip);
    AppendForecastTip(monitor, tip, sizeof(tip));
    StepLap(StepTipText);
    // An icon missing for long leaves a hidden program out of reach: its window shows.
    if (Tray.Cycle(icon, tip) && !IsWindowVisible(Window))
        ShowWindow(Window, SW_SHOWNOACTIVATE);
    Speed.DropReplacedIcon();
    StepLap(StepTrayHandOver);

    const char* title = minimised ? summary : "Brisvane";
    if (strcmp(ShownTitle, title) != 0) {
        SetWindowTextW(Window, WideText(title));
        CopyText(ShownTitle, sizeof(ShownTitle), title);
    }
    StepLap(StepTitle);
}

void MainWindow::FormatTrayTip(InterfaceMonitor* monitor, char* tip, size_t size)
{
    if (size > TRAY_TIP_CHARS)
        size = TRAY_TIP_CHARS;
    if (monitor == NULL) {
        CopyText(tip, size, TRAY_TIP_ALONE);
        return;
    }
    int prefix = BoundedPrint(tip, size, "%s", TRAY_TIP_PREFIX);
    monitor->FormatTrafficSummary(tip + prefix, size - prefix);
}

void MainWindow::NoticeAlertCrossing(InterfaceMonitor* monitor)
{
    int wasOn = monitor->AlertNoticed;
    monitor->AlertNoticed = monitor->AlertOn;
    AlertNotice notice;
    if (!DecideAlertNotice(wasOn, monitor->AlertOn, monitor->Total_in, monitor->Total_out,
                           Settings, &notice))
        return;
    char description[MAX_DESCR + 1];
    DWORD length = DescrLength(&monitor->IfRow);
    memcpy(description, monitor->IfRow.bDescr, length);
    description[length] = 0;
    char text[TRAY_INFO_BYTES];
    FormatAlertNotice(notice, monitor->IPv4Text, description, text, sizeof(text));
    SendBalloon(monitor, NIIF_WARNING, BALLOON_TITLE, text);
}
