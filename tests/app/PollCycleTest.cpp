// What the frame shows of the meter's cycle: tabs and pages, the tray and the title, over
// scripted interface and address tables.
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
    if (message == TCM_INSERTITEMW) {
        InsertAttempts++;
        return -1;
    }
    return CallWindowProcA(TabProcedure, window, message, wParam, lParam);
}

}  // namespace

TEST_F(MainWindowTest, FirstAdapterSelectedAndShownANewFirstOneTakesItsPlace)
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
    EXPECT_TRUE(IsWindowVisible(PageWindow(first)));
    EXPECT_FALSE(IsWindowVisible(PageWindow(second)));
    EXPECT_EQ(0, GetWindowLongA(PageWindow(first), GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ("00-1A-2B-3C-4D-A1", PageText(first, IDC_PAGE_MAC));
    EXPECT_EQ("Connected", PageText(first, IDC_PAGE_STATUS));

    // With the loopback switch off, 127.0.0.1 gets its page too.
    Settings.IgnoreLoopBack = 0;
    Tick();
    EXPECT_EQ(3, TabCount());
    EXPECT_EQ("127.0.0.1", TabText(0));
    EXPECT_EQ(0, (int)SendMessageA(TabControl(), TCM_GETCURSEL, 0, 0));
    EXPECT_FALSE(IsWindowVisible(PageWindow(first)));  // the new first page took its place
    EXPECT_TRUE(IsWindowVisible(PageWindow(TabMonitor(0))));
}

TEST_F(MainWindowTest, ThePageAndTheTipShowWhatWasCounted)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    InterfaceMonitor* monitor = TabMonitor(0);
    for (int second = 1; second <= 3; second++) {
        fake.AdvanceSeconds(1);
        fake.Row(2)->dwInOctets += 1500;
        fake.Row(2)->dwOutOctets += 700;
        Tick();
    }
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
    EXPECT_EQ("Connected", PageText(monitor, IDC_PAGE_STATUS));
    EXPECT_EQ("Brisvane", WindowText(main.Window));
    EXPECT_EQ(trayCalls, fake.TrayCalls.size());

    // The table read again, empty: every monitor is absent, the title follows the tip.
    fake.IfTableError = 0;
    Tick();
    EXPECT_EQ("NOT Connected", PageText(monitor, IDC_PAGE_STATUS));
    EXPECT_EQ("Brisvane: In 0 B, Out 0 B, All 0 B", WindowText(main.Window));
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

    fake.Row(2)->bPhysAddr[5] = 0xEE;
    Tick();
    ASSERT_EQ(2, TabCount());
    EXPECT_EQ(monitor, TabMonitor(1));
    EXPECT_EQ("Connected", PageText(TabMonitor(0), IDC_PAGE_STATUS));
    EXPECT_EQ("00-1A-2B-3C-4D-EE", PageText(TabMonitor(0), IDC_PAGE_MAC));
    // The old page, out of sight, is brought up to date when its tab is picked.
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    NMHDR change = {TabControl(), IDC_TABCONTROL, (UINT)TCN_SELCHANGE};
    SendMessageA(main.Window, WM_NOTIFY, IDC_TABCONTROL, (LPARAM)&change);
    EXPECT_EQ("NOT Connected", PageText(monitor, IDC_PAGE_STATUS));
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
    EXPECT_EQ(classIcon, Tray().Icon());

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
    EXPECT_STREQ("Brisvane", Tray().Tip());
    EXPECT_EQ(Tray().NormalIcon(), Tray().Icon());
}

TEST_F(MainWindowTest, ARefusedTabItemLeavesNoPageAndIsTriedAgainAMinuteLater)
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
