// The tray icon: alert balloons, the tip sent only while it can be seen, the menu's items
// reaching their handlers, the double click and Show/Hide.
#include "MainWindowTestSupport.h"

#include "ModalDriver.h"
#include "resource.h"

namespace {

enum {
    PickShowHide = 1,
    PickSettings = 2,
    PickAbout = 3,
    PickHistory = 4,
    PickStartWithWindows = 6  // past Adapters...
};

}  // namespace

class TrayTest : public MainWindowTest {
protected:
    // Opens the menu with a right click on the icon and picks an item; 1 when it showed.
    int PickTrayItem(int downs) { return PickFromTrayMenu(TRAY_ICON_ID, WM_RBUTTONDOWN, downs); }
    bool Checked() { return GetMenuState(GetSubMenu(Tray().Menu(), 0), ID_TRAY_STARTWITHWINDOWS,
                                         MF_BYCOMMAND) & MF_CHECKED; }
    int Modified(UINT flag)
    {
        int count = 0;
        for (const TrayCall& call : fake.TrayCalls)
            count += call.Action == NIM_MODIFY && (call.Record.uFlags & flag) != 0;
        return count;
    }
    int Selected() { return (int)SendMessageA(TabControl(), TCM_GETCURSEL, 0, 0); }
    void AlertLimits()
    {
        Settings.AlertType = AlertDistinct;
        Settings.LimitIN = Settings.LimitOUT = 10 * GIGABYTE;
        Settings.AlertPercent = 90;
    }
};

TEST_F(TrayTest, BalloonOncePerAlertCrossingAndItsClickShowsThatAdaptersTab)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    AlertLimits();
    ShowWindow(main.Window, SW_HIDE);
    InterfaceMonitor* second = TabMonitor(1);
    second->Total_in = 9 * GIGABYTE + 1;  // an adapter out of sight passes its IN limit
    Tick();
    ASSERT_EQ(1, Modified(NIF_INFO));
    const TrayCall* balloon = LastTrayCall(NIM_MODIFY, NIF_INFO);
    EXPECT_EQ(main.Window, balloon->Record.hWnd);
    EXPECT_EQ((UINT)TRAY_ICON_ID, balloon->Record.uID);
    EXPECT_EQ((UINT)NIF_INFO, balloon->Record.uFlags);  // icon and tip stay as they are
    EXPECT_EQ((DWORD)(NIIF_WARNING | NIIF_RESPECT_QUIET_TIME), balloon->Record.dwInfoFlags);
    EXPECT_STREQ("Brisvane: alert limit reached", balloon->Record.szInfoTitle);
    EXPECT_STREQ("10.0.0.5 Test adapter 3\nIN: 9.00 GB of the 10.00 GB limit",
                 balloon->Record.szInfo);

    // Not again while the alert stays on; the event log keeps its line every cycle.
    Tick();
    Tick();
    EXPECT_EQ(1, Modified(NIF_INFO));
    EXPECT_EQ(3, CountOf(Log(), "Monitor port '10.0.0.5' - reached the alert limit\r\n"));

    TrayEvent(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_EQ(1, Selected());
    EXPECT_TRUE(IsWindowVisible(PageWindow(second)));
    EXPECT_FALSE(IsWindowVisible(PageWindow(TabMonitor(0))));

    // Nothing when it turns off after a reset; the next crossing is told again.
    second->Total_in = 0;
    Tick();
    EXPECT_EQ(0, second->AlertOn);
    EXPECT_EQ(1, Modified(NIF_INFO));
    second->Total_out = 9 * GIGABYTE + 5;
    Tick();
    ASSERT_EQ(2, Modified(NIF_INFO));
    EXPECT_STREQ("10.0.0.5 Test adapter 3\nOUT: 9.00 GB of the 10.00 GB limit",
                 LastTrayCall(NIM_MODIFY, NIF_INFO)->Record.szInfo);
}

TEST_F(TrayTest, TipGoesToTheTrayOnlyWhileItCanBeSeen)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    ShowWindow(main.Window, SW_HIDE);
    auto traffic = [&](int cycles) {
        for (int i = 0; i < cycles; i++) {
            fake.AdvanceSeconds(1);
            fake.Row(2)->dwInOctets += 1500;  // every cycle changes the totals in the tip
            Tick();
        }
    };
    traffic(3);
    EXPECT_EQ(0, Modified(NIF_TIP));

    // The mouse rests on the icon: the tip goes at once, then every cycle for a while.
    TrayEvent(WM_MOUSEMOVE);
    ASSERT_EQ(1, Modified(NIF_TIP));
    EXPECT_STREQ("Brisvane: In 4 KB, Out 0 B, All 4 KB", LastTrayCall(NIM_MODIFY)->Record.szTip);
    traffic(TRAY_TIP_SEEN_CYCLES + 2);
    EXPECT_EQ(1 + TRAY_TIP_SEEN_CYCLES, Modified(NIF_TIP));
    EXPECT_STREQ("Brisvane: In 13 KB, Out 0 B, All 13 KB", LastTrayCall(NIM_MODIFY)->Record.szTip);

    // An alert changes the icon at once, with the tip of the moment.
    AlertLimits();
    TabMonitor(0)->Total_in = 9 * GIGABYTE + 1;
    Tick();
    const TrayCall* icon = LastTrayCall(NIM_MODIFY, NIF_ICON);
    ASSERT_NE((const TrayCall*)NULL, icon);
    EXPECT_EQ(Tray().AlertIcon(), icon->Record.hIcon);
    EXPECT_STREQ("Brisvane: In 9.00 GB, Out 0 B, All 9.00 GB", icon->Record.szTip);
}

TEST_F(TrayTest, AHiddenAdaptersAlertStillComesAndItsClickShowsTheWindow)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    AlertLimits();
    InterfaceMonitor* hidden = TabMonitor(1);
    SendMessageA(main.Window, WM_COMMAND, ID_NEXT_TAB, 0);
    SendMessageA(main.Window, WM_COMMAND, ID_TAB_HIDE, 0);
    ASSERT_EQ(1, TabCount());
    ShowWindow(main.Window, SW_HIDE);
    hidden->Total_in = 9 * GIGABYTE + 1;
    Tick();
    ASSERT_EQ(1, Modified(NIF_INFO));
    EXPECT_NE(nullptr, strstr(LastTrayCall(NIM_MODIFY, NIF_INFO)->Record.szInfo, "10.0.0.5"));
    TrayEvent(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_EQ(1, TabCount());
}

TEST_F(TrayTest, MenuItemsReachTheirHandlers)
{
    ASSERT_NE((HWND)NULL, Create());
    {
        ModalStep step("Settings", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        ASSERT_EQ(1, PickTrayItem(PickSettings));
        EXPECT_TRUE(step.Ran());
    }
    {
        ModalStep step("About", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
        ASSERT_EQ(1, PickTrayItem(PickAbout));
        EXPECT_TRUE(step.Ran());
    }
    ASSERT_EQ(1, PickTrayItem(PickHistory));
    ASSERT_NE((HWND)NULL, HistoryView().Window);
    DestroyWindow(HistoryView().Window);
    HMENU menu = GetSubMenu(Tray().Menu(), 0);
    const UINT submenu = (UINT)-1;
    const UINT ids[] = {ID_TRAY_SHOWHIDE, ID_APP_SETTINGS, ID_APP_ABOUT, ID_APP_HISTORY,
                        ID_TRAY_ADAPTERS, ID_TRAY_STARTWITHWINDOWS, ID_TRAY_FORECASTWARN, 0,
                        submenu, ID_SPEED_WINDOW, ID_SPEED_CLICKTHROUGH, submenu, 0,
                        ID_TRAY_CLOSE};
    ASSERT_EQ(14, GetMenuItemCount(menu));
    for (int i = 0; i < 14; i++)
        EXPECT_EQ(ids[i], GetMenuItemID(menu, i)) << i;
    EXPECT_EQ((UINT)ID_TRAY_SHOWHIDE, GetMenuDefaultItem(menu, FALSE, 0));  // in bold

    // Start with Windows writes the value, and the menu shows it checked; picked again, it goes.
    const char* program = fake.ModulePath.c_str();
    ASSERT_EQ(1, PickTrayItem(PickStartWithWindows));
    EXPECT_FALSE(Checked());  // as the menu showed
    EXPECT_EQ(1, StartsWithWindows(program));
    ASSERT_EQ(1, PickTrayItem(PickStartWithWindows));
    EXPECT_TRUE(Checked());
    EXPECT_EQ(0, StartsWithWindows(program));
    // A value that starts another copy is not this one's.
    ASSERT_EQ(1, SetStartWithWindows(1, "C:\\Elsewhere\\Brisvane.exe"));
    ASSERT_EQ(1, PickTrayItem(PickShowHide));
    EXPECT_FALSE(Checked());
}

TEST_F(TrayTest, DoubleClickShowsTheWindowAndShowHideBringsBackAMinimisedOne)
{
    ASSERT_NE((HWND)NULL, Create());
    ShowWindow(main.Window, SW_HIDE);
    TrayEvent(WM_LBUTTONDOWN);
    TrayEvent(WM_LBUTTONUP);
    TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_FALSE(KillTimer(main.Window, TRAY_CLICK_TIMER_ID));  // the first click's menu is off

    ShowWindow(main.Window, SW_MINIMIZE);
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_FALSE(IsIconic(main.Window));
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_FALSE(IsWindowVisible(main.Window));
}

namespace {

// The width and height of an icon's image.
SIZE IconSize(HICON icon)
{
    SIZE size = {0, 0};
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return size;
    BITMAP bitmap = {};
    if (info.hbmColor != NULL && GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap)) {
        size.cx = bitmap.bmWidth;
        size.cy = bitmap.bmHeight;
    } else if (GetObjectA(info.hbmMask, sizeof(bitmap), &bitmap)) {
        size.cx = bitmap.bmWidth;
        size.cy = bitmap.bmHeight / 2;  // a monochrome icon's mask holds the image too
    }
    if (info.hbmColor != NULL)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

LPARAM Version4Event(UINT event)
{
    return MAKELPARAM(event, TRAY_ICON_ID);
}

}  // namespace

TEST(TrayEventTest, BothFormsReachTheSameRequests)
{
    POINT at = {-1, -1};
    // Version 4: the anchor comes with the event, also left of the main screen.
    EXPECT_EQ(TrayMenu, ReadTrayEvent(MAKEWPARAM(-20, 300), Version4Event(WM_CONTEXTMENU), 1, &at));
    EXPECT_EQ(-20, at.x);
    EXPECT_EQ(300, at.y);
    EXPECT_EQ(TrayMenu, ReadTrayEvent(MAKEWPARAM(5, 6), Version4Event(NIN_KEYSELECT), 1, &at));
    EXPECT_EQ(5, at.x);
    EXPECT_EQ(TrayClick, ReadTrayEvent(0, Version4Event(NIN_SELECT), 1, &at));
    EXPECT_EQ(TrayDoubleClick, ReadTrayEvent(0, Version4Event(WM_LBUTTONDBLCLK), 1, &at));
    EXPECT_EQ(TrayTipSeen, ReadTrayEvent(0, Version4Event(WM_MOUSEMOVE), 1, &at));
    EXPECT_EQ(TrayBalloonClick, ReadTrayEvent(0, Version4Event(NIN_BALLOONUSERCLICK), 1, &at));
    // The button messages that version 4 follows with its own: one menu, one click.
    EXPECT_EQ(TrayNone, ReadTrayEvent(0, Version4Event(WM_RBUTTONDOWN), 1, &at));
    EXPECT_EQ(TrayNone, ReadTrayEvent(0, Version4Event(WM_LBUTTONDOWN), 1, &at));
    EXPECT_EQ(TrayNone, ReadTrayEvent(0, MAKELPARAM(WM_CONTEXTMENU, TRAY_ICON_ID + 1), 1, &at));

    // The old form: the icon in wParam, the menu at the cursor.
    EXPECT_EQ(TrayClick, ReadTrayEvent(TRAY_ICON_ID, WM_LBUTTONDOWN, 0, &at));
    EXPECT_EQ(TrayMenu, ReadTrayEvent(TRAY_ICON_ID, WM_RBUTTONDOWN, 0, &at));
    EXPECT_EQ(TrayMenu, ReadTrayEvent(TRAY_ICON_ID, NIN_SELECT, 0, &at));
    EXPECT_EQ(TrayMenu, ReadTrayEvent(TRAY_ICON_ID, NIN_KEYSELECT, 0, &at));
    EXPECT_EQ(TrayDoubleClick, ReadTrayEvent(TRAY_ICON_ID, WM_LBUTTONDBLCLK, 0, &at));
    EXPECT_EQ(TrayTipSeen, ReadTrayEvent(TRAY_ICON_ID, WM_MOUSEMOVE, 0, &at));
    EXPECT_EQ(TrayNone, ReadTrayEvent(TRAY_ICON_ID, WM_LBUTTONUP, 0, &at));
}

TEST_F(TrayTest, Version4MessagesReachTheSameCommands)
{
    fake.TrayTakesVersion4 = true;
    ASSERT_NE((HWND)NULL, Create());
    const TrayCall* version = LastTrayCall(NIM_SETVERSION);
    ASSERT_NE((const TrayCall*)NULL, version);
    EXPECT_EQ((UINT)NOTIFYICON_VERSION_4, version->Record.uVersion);
    ASSERT_EQ(1, Tray().UsesVersion4());

    // The keyboard's select opens the menu; its Show/Hide hides the window.
    ASSERT_EQ(1, PickFromTrayMenu(MAKEWPARAM(40, 50), Version4Event(NIN_KEYSELECT), PickShowHide));
    EXPECT_FALSE(IsWindowVisible(main.Window));

    // A left click waits for a double click, which shows the window; the select that comes
    // with its second click starts no menu.
    SendMessageA(main.Window, TRAY_CALLBACK_MESSAGE, 0, Version4Event(NIN_SELECT));
    SendMessageA(main.Window, TRAY_CALLBACK_MESSAGE, 0, Version4Event(WM_LBUTTONDBLCLK));
    SendMessageA(main.Window, TRAY_CALLBACK_MESSAGE, 0, Version4Event(NIN_SELECT));
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_FALSE(KillTimer(main.Window, TRAY_CLICK_TIMER_ID));
    fake.AdvanceSeconds(5);
    SendMessageA(main.Window, TRAY_CALLBACK_MESSAGE, 0, Version4Event(NIN_SELECT));
    EXPECT_TRUE(KillTimer(main.Window, TRAY_CLICK_TIMER_ID));  // a click of its own again
}

TEST_F(TrayTest, RefusedAddIsTriedAgainEachCycleAndAfterTheTaskbarReturns)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.TrayReady = false;
    ASSERT_NE((HWND)NULL, Create());
    ShowWindow(main.Window, SW_HIDE);
    EXPECT_EQ(0, Tray().IsAdded());
    int adds = TrayCalls(NIM_ADD);
    Tick();
    Tick();
    EXPECT_EQ(adds + 2, TrayCalls(NIM_ADD));
    EXPECT_EQ(1, CountOf(Log(), "The tray icon could not be added; it is tried again every second\r\n"));

    // The shell's tray is up: the next cycle adds the icon with the tip of the moment.
    fake.TrayReady = true;
    Tick();
    ASSERT_EQ(1, Tray().IsAdded());
    EXPECT_STREQ("Brisvane: In 0 B, Out 0 B, All 0 B", LastTrayCall(NIM_ADD)->Record.szTip);
    EXPECT_EQ(1, CountOf(Log(), "The tray icon was added after all\r\n"));
    adds = TrayCalls(NIM_ADD);
    Tick();
    EXPECT_EQ(adds, TrayCalls(NIM_ADD));

    // Refused again after Explorer restarted, it comes with the next broadcast.
    fake.TrayReady = false;
    SendMessageA(main.Window, MainWindowProbe::TaskbarCreatedMessage(main), 0, 0);
    EXPECT_EQ(0, Tray().IsAdded());
    fake.TrayReady = true;
    SendMessageA(main.Window, MainWindowProbe::TaskbarCreatedMessage(main), 0, 0);
    EXPECT_EQ(1, Tray().IsAdded());

    // Missing for a minute, the icon leaves a hidden program out of reach: its window shows.
    fake.TrayReady = false;
    SendMessageA(main.Window, MainWindowProbe::TaskbarCreatedMessage(main), 0, 0);
    for (int cycle = 1; cycle < TRAY_MISSING_SHOW_CYCLES; cycle++)
        Tick();
    EXPECT_FALSE(IsWindowVisible(main.Window));
    Tick();
    EXPECT_TRUE(IsWindowVisible(main.Window));
}

TEST_F(TrayTest, TheTrayAndTheCaptionGetTheSmallIcons)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    SIZE small = {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
    ASSERT_LT(small.cx, GetSystemMetrics(SM_CXICON));
    const TrayCall* add = LastTrayCall(NIM_ADD);
    ASSERT_NE((const TrayCall*)NULL, add);
    EXPECT_EQ(small.cx, IconSize(add->Record.hIcon).cx);
    EXPECT_EQ(small.cy, IconSize(add->Record.hIcon).cy);
    EXPECT_EQ(small.cx, IconSize(Tray().AlertIcon()).cx);
    HICON caption = (HICON)GetClassLongPtrA(main.Window, GCLP_HICONSM);
    EXPECT_NE((HICON)GetClassLongPtrA(main.Window, GCLP_HICON), caption);
    EXPECT_EQ(small.cx, IconSize(caption).cx);
}
