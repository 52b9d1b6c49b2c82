// The poll cycle inside a real main window, over scripted interface and address tables.
#include "MainWindowTestSupport.h"

#include <string.h>

#include <algorithm>

#include "resource.h"

namespace {

std::vector<HWND> PagesOf(HWND tabControl)
{
    std::vector<HWND> pages;
    for (HWND child = GetWindow(tabControl, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = "";
        GetClassNameA(child, className, sizeof(className));
        if (strcmp(className, "#32770") == 0)
            pages.push_back(child);
    }
    return pages;
}

WNDPROC TabProcedure = NULL;
int InsertAttempts = 0;
LRESULT CALLBACK RefusingTabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TCM_INSERTITEMA) {
        InsertAttempts++;
        return -1;
    }
    return CallWindowProcA(TabProcedure, window, message, wParam, lParam);
}

}  // namespace

TEST_F(MainWindowTest, LoopbackIgnoredFirstAdapterSelectedStartLinesInOrder)
{
    fake.AddAdapter(1, 0x00, "127.0.0.1");
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    fake.AddAdapter(4, 0xC3, NULL);  // no IPv4 address: not monitored
    ASSERT_NE((HWND)NULL, Create());

    ASSERT_EQ(2, TabCount());
    EXPECT_EQ("192.168.1.10", TabText(0));
    EXPECT_EQ("10.0.0.5", TabText(1));
    EXPECT_EQ(0, (int)SendMessageA(TabControl(), TCM_GETCURSEL, 0, 0));
    InterfaceMonitor* first = TabMonitor(0);
    InterfaceMonitor* second = TabMonitor(1);
    EXPECT_TRUE(IsWindowVisible(first->Window));
    EXPECT_FALSE(IsWindowVisible(second->Window));
    EXPECT_EQ(0, GetWindowLongA(first->Window, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ("00-1A-2B-3C-4D-A1", PageText(first, IDC_PAGE_MAC));
    EXPECT_EQ("Connected", PageText(first, IDC_PAGE_STATUS));

    std::string log = Log();
    size_t a = log.find("Monitor 00-1A-2B-3C-4D-A1 port '192.168.1.10'\tStart\r\n");
    size_t b = log.find("Monitor 00-1A-2B-3C-4D-B2 port '10.0.0.5'\tStart\r\n");
    ASSERT_NE(std::string::npos, a);
    ASSERT_NE(std::string::npos, b);
    EXPECT_LT(a, b);
    EXPECT_EQ(std::string::npos, log.find("127.0.0.1"));

    // With the loopback switch off, 127.0.0.1 gets its page too.
    Settings.IgnoreLoopBack = 0;
    Tick();
    EXPECT_EQ(3, TabCount());
    EXPECT_EQ("127.0.0.1", TabText(0));
    EXPECT_EQ(0, (int)SendMessageA(TabControl(), TCM_GETCURSEL, 0, 0));
    EXPECT_FALSE(IsWindowVisible(first->Window));  // the new first page took its place
    EXPECT_TRUE(IsWindowVisible(TabMonitor(0)->Window));
}

TEST_F(MainWindowTest, CountsTrafficAndReadsEachTableOncePerCycle)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    InterfaceMonitor* monitor = TabMonitor(0);
    for (int second = 1; second <= 3; second++) {
        fake.AdvanceSeconds(1);
        fake.Row(2)->dwInOctets += 1500;
        fake.Row(2)->dwOutOctets += 700;
        int ifReads = fake.IfTableReads, addressReads = fake.AddressTableReads;
        Tick();
        EXPECT_EQ(1, fake.IfTableReads - ifReads);
        EXPECT_EQ(1, fake.AddressTableReads - addressReads);
    }
    EXPECT_EQ(4500u, monitor->Total_in);
    EXPECT_EQ(2100u, monitor->Total_out);
    EXPECT_EQ("4 KB", PageText(monitor, IDC_PAGE_TOTAL_IN));
    EXPECT_EQ("1 KB", PageText(monitor, IDC_PAGE_CURRENT_IN));
    EXPECT_EQ("4", PageText(monitor, IDC_PAGE_DURATION));
    TrayEvent(WM_MOUSEMOVE);  // the tip goes to the tray once it can be seen
    const TrayCall* modify = LastTrayCall(NIM_MODIFY);
    ASSERT_NE((const TrayCall*)NULL, modify);
    EXPECT_STREQ("Brisvane: In 4 KB, Out 2 KB, All 6 KB", modify->Record.szTip);
}

TEST_F(MainWindowTest, FailedTableReadChangesNothing)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    InterfaceMonitor* monitor = TabMonitor(0);
    size_t trayCalls = fake.TrayCalls.size();
    ShowWindow(main.Window, SW_MINIMIZE);
    fake.IfTableError = ERROR_NOT_SUPPORTED;
    fake.Rows.clear();
    Tick();
    EXPECT_EQ(1, monitor->Present);
    EXPECT_EQ("Connected", PageText(monitor, IDC_PAGE_STATUS));
    EXPECT_EQ("Brisvane", WindowText(main.Window));
    EXPECT_EQ(trayCalls, fake.TrayCalls.size());
    EXPECT_EQ(0, MainWindowProbe::PollBusy(main));

    // The table read again, empty: every monitor is absent, the title follows the tip.
    fake.IfTableError = 0;
    Tick();
    EXPECT_EQ(0, monitor->Present);
    EXPECT_EQ("NOT Connected", PageText(monitor, IDC_PAGE_STATUS));
    EXPECT_EQ("Brisvane: In 0 B, Out 0 B, All 0 B", WindowText(main.Window));
    EXPECT_EQ(1, CountOf(Log(), "Monitor port '192.168.1.10' - connection was lost\r\n"));
    ShowWindow(main.Window, SW_RESTORE);
    Tick();
    EXPECT_EQ("Brisvane", WindowText(main.Window));
}

TEST_F(MainWindowTest, AddressChangeRelabelsAndNewHardwareAddressMakesANewPage)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    InterfaceMonitor* monitor = TabMonitor(0);
    fake.SetAddress(2, "192.168.1.77");
    Tick();
    EXPECT_EQ(1, TabCount());
    EXPECT_EQ("192.168.1.77", TabText(0));
    EXPECT_STREQ("192.168.1.77", monitor->IPv4Text);

    fake.Row(2)->bPhysAddr[5] = 0xEE;
    Tick();
    ASSERT_EQ(2, TabCount());
    EXPECT_EQ(monitor, TabMonitor(1));
    EXPECT_EQ(0, monitor->Present);
    EXPECT_EQ("Connected", PageText(TabMonitor(0), IDC_PAGE_STATUS));
    EXPECT_EQ("00-1A-2B-3C-4D-EE", PageText(TabMonitor(0), IDC_PAGE_MAC));
    // The old page, out of sight, is brought up to date when its tab is picked.
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    NMHDR change = {TabControl(), IDC_TABCONTROL, (UINT)TCN_SELCHANGE};
    SendMessageA(main.Window, WM_NOTIFY, IDC_TABCONTROL, (LPARAM)&change);
    EXPECT_EQ("NOT Connected", PageText(monitor, IDC_PAGE_STATUS));
}

TEST_F(MainWindowTest, AdaptersWithoutHardwareAddressEachHaveAMonitorAndASection)
{
    fake.AddAdapter(2, 0, "10.1.1.1").dwPhysAddrLen = 0;
    fake.AddAdapter(3, 0, "10.2.2.2").dwPhysAddrLen = 0;
    fake.Row(2)->dwInOctets = 1000;
    fake.Row(3)->dwInOctets = 90000000;
    ASSERT_NE((HWND)NULL, Create());
    ASSERT_EQ(2, TabCount());
    EXPECT_EQ("00-00-00-00-00-00", PageText(TabMonitor(0), IDC_PAGE_MAC));
    for (int cycle = 0; cycle < 5; cycle++) {
        fake.Row(2)->dwInOctets += 100;
        Tick();
    }
    EXPECT_EQ(500u, TabMonitor(0)->Total_in);
    EXPECT_EQ(0u, TabMonitor(1)->Total_in);
    EXPECT_EQ(6u, TabMonitor(1)->SampleCount);
    main.Shutdown();
    EXPECT_EQ(500u, GetPrivateProfileIntA("IF-INDEX-2", "Total_in", 7, IniPath));
    EXPECT_EQ(0u, GetPrivateProfileIntA("IF-INDEX-3", "Total_in", 7, IniPath));
}

TEST_F(MainWindowTest, InterfacesSharingAHardwareAddressEachHaveAMonitorAndASection)
{
    // Two VLANs of one card: one address, one busy interface, one nearly idle.
    fake.AddAdapter(2, 0xA1, "192.168.1.10").dwInOctets = 1000;
    fake.AddAdapter(3, 0xA1, "192.168.2.10").dwInOctets = 90000000;
    ASSERT_NE((HWND)NULL, Create());
    ASSERT_EQ(2, TabCount());
    InterfaceMonitor* first = TabMonitor(0);
    InterfaceMonitor* second = TabMonitor(1);
    for (int cycle = 1; cycle <= 6; cycle++) {
        fake.AdvanceSeconds(1);
        fake.Row(2)->dwInOctets += 1000;
        fake.Row(2)->dwOutOctets += 100;
        fake.Row(3)->dwInOctets += 1;
        // The table lists them in the other order now and then: each keeps its own.
        if (cycle % 3 == 0)
            std::swap(fake.Rows[0], fake.Rows[1]);
        Tick();
    }
    EXPECT_EQ(2, TabCount());
    EXPECT_EQ(6000u, first->Total_in);
    EXPECT_EQ(600u, first->Total_out);
    EXPECT_EQ(6u, second->Total_in);
    EXPECT_EQ(0u, second->Total_out);
    main.Shutdown();
    // The first keeps the section of the address; the other is named as an interface, in the
    // history too.
    EXPECT_EQ(6000u, GetPrivateProfileIntA("00-1A-2B-3C-4D-A1", "Total_in", 7, IniPath));
    EXPECT_EQ(6u, GetPrivateProfileIntA("IF-INDEX-3", "Total_in", 7, IniPath));
    char figures[128] = "";
    GetPrivateProfileStringA("History", "2026-12-06 00-1A-2B-3C-4D-A1", "", figures,
                             sizeof(figures), IniPath);
    EXPECT_STREQ("6000,600,Test adapter 2", figures);
    GetPrivateProfileStringA("History", "2026-12-06 IF-INDEX-3", "", figures, sizeof(figures),
                             IniPath);
    EXPECT_STREQ("6,0,Test adapter 3", figures);

    // Started again with the second alone, it is the first of its address; the other, back
    // with counters far ahead, gets a section of its own: neither is counted against the other.
    DWORD firstCounter = fake.Row(2)->dwInOctets;
    fake.Rows.erase(fake.Rows.begin() + (fake.Rows[0].dwIndex == 2 ? 0 : 1));
    MainWindow again;
    ASSERT_NE((HWND)NULL, CreateMainWindow(GetModuleHandleA(NULL), again));
    InterfaceMonitor* only = again.Tabs().MonitorAt(0);
    ASSERT_NE((InterfaceMonitor*)NULL, only);
    EXPECT_EQ(6000u, only->Total_in);
    fake.Row(3)->dwInOctets += 5;
    fake.AdvanceSeconds(1);
    SendMessageA(again.Window, WM_TIMER, POLL_TIMER_ID, 0);
    EXPECT_EQ(6000u + 5, only->Total_in);
    fake.AddAdapter(2, 0xA1, "192.168.1.10").dwInOctets = firstCounter + 1000;
    for (int cycle = 0; cycle < 2; cycle++) {
        fake.AdvanceSeconds(1);
        fake.Row(3)->dwInOctets += 5;
        SendMessageA(again.Window, WM_TIMER, POLL_TIMER_ID, 0);
    }
    ASSERT_EQ(2, again.Tabs().Count());
    EXPECT_EQ(6000u + 15, only->Total_in);
    ShowWindow(again.Window, SW_HIDE);
    SendMessageA(again.Window, WM_CLOSE, 0, 0);  // saves, and leaves no window behind
    PumpMessages();
    EXPECT_EQ(0u, GetPrivateProfileIntA("IF-INDEX-2", "Total_in", 7, IniPath));
}

TEST_F(MainWindowTest, TrayShowsTheAlertIconOnlyForTheSelectedMonitor)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    Settings.AlertType = AlertTotal;
    Settings.LimitIN = Settings.LimitOUT = GIGABYTE;
    Settings.AlertPercent = 100;
    HICON classIcon = Tray().NormalIcon();

    TabMonitor(1)->Total_in = 3 * GIGABYTE;  // the unselected adapter passes its limit
    Tick();
    EXPECT_EQ(1, TabMonitor(1)->AlertOn);
    EXPECT_EQ(classIcon, Tray().Record().hIcon);

    TabMonitor(0)->Total_in = 3 * GIGABYTE;
    Tick();
    EXPECT_EQ(Tray().AlertIcon(), LastTrayCall(NIM_MODIFY, NIF_ICON)->Record.hIcon);
    TabMonitor(0)->Total_in = 0;
    Tick();
    EXPECT_EQ(classIcon, LastTrayCall(NIM_MODIFY, NIF_ICON)->Record.hIcon);
}

TEST_F(MainWindowTest, NoPagesTipIsTheProgramName)
{
    ASSERT_NE((HWND)NULL, Create());
    EXPECT_EQ(0, TabCount());
    Tick();
    EXPECT_STREQ("Brisvane", Tray().Record().szTip);
    EXPECT_EQ(Tray().NormalIcon(), Tray().Record().hIcon);
}

TEST_F(MainWindowTest, RefusedTabItemIsTriedAgainOnlyAMinuteLaterAndLeavesNoPage)
{
    const int retryAfter = 60;  // cycles
    ASSERT_NE((HWND)NULL, Create());
    TabProcedure = (WNDPROC)SetWindowLongPtrA(TabControl(), GWLP_WNDPROC,
                                              (LONG_PTR)RefusingTabProc);
    InsertAttempts = 0;
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    Tick();
    EXPECT_EQ(1, InsertAttempts);
    for (int cycle = 1; cycle < retryAfter; cycle++)
        Tick();
    EXPECT_EQ(1, InsertAttempts) << "tried again before the " << retryAfter << "th cycle";
    EXPECT_EQ(0, TabCount());
    EXPECT_TRUE(PagesOf(TabControl()).empty());
    EXPECT_EQ(std::string::npos, Log().find("Start"));
    EXPECT_EQ(std::string::npos, Ini().find("[00-1A-2B-3C-4D-A1]"));

    // The strip takes items again: the next cycle, the 60th after the failure, makes the page.
    SetWindowLongPtrA(TabControl(), GWLP_WNDPROC, (LONG_PTR)TabProcedure);
    Tick();
    EXPECT_EQ(1, TabCount());
    EXPECT_EQ(1u, PagesOf(TabControl()).size());
}

TEST_F(MainWindowTest, RowsBeyondTheAnsweredSizeAreNotRead)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    // The table counts both rows, but the size it answers holds only the first.
    fake.RowsBeyondSize = 1;
    ASSERT_NE((HWND)NULL, Create());
    Tick();
    ASSERT_EQ(1, TabCount());
    EXPECT_EQ("192.168.1.10", TabText(0));
}

TEST_F(MainWindowTest, BusyCycleDoesNothing)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    int reads = fake.IfTableReads;
    MainWindowProbe::PollBusy(main) = 1;
    Tick();
    EXPECT_EQ(reads, fake.IfTableReads);
    MainWindowProbe::PollBusy(main) = 0;
}
