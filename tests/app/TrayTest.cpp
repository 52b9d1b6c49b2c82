// The tray icon: alert balloons, the tip sent only while it can be seen, the menu with its new
// items reaching their handlers, the double click, and "Start with Windows".
#include "MainWindowTestSupport.h"

#include <process.h>

#include "config/DialogDriver.h"
#include "resource.h"

namespace {

const DWORD MenuDeadlineMs = 5000;

// Picks a tray menu item with the keyboard once the menu shows: Down as often as given, then
// Enter. Records the menu's state as it was shown.
struct MenuPick {
    int Downs;
    int Shown;
};

unsigned __stdcall PickMenuItem(void* argument)
{
    MenuPick* pick = (MenuPick*)argument;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < MenuDeadlineMs) {
        HWND menu = FindWindowA("#32768", NULL);
        if (menu != NULL && IsWindowVisible(menu)) {
            pick->Shown = 1;
            for (int i = 0; i < pick->Downs; i++)
                PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

// Keyboard positions of the tray menu's items (the separator is skipped).
enum { PickShowHide = 1, PickSettings = 2, PickAbout = 3, PickStartWithWindows = 4 };

int BalloonCount(const std::vector<TrayCall>& calls)
{
    int count = 0;
    for (const TrayCall& call : calls)
        count += call.Action == NIM_MODIFY && (call.Record.uFlags & NIF_INFO) != 0;
    return count;
}

int TipCount(const std::vector<TrayCall>& calls)
{
    int count = 0;
    for (const TrayCall& call : calls)
        count += call.Action == NIM_MODIFY && (call.Record.uFlags & NIF_TIP) != 0;
    return count;
}

}  // namespace

class TrayTest : public MainWindowTest {
protected:
    // Opens the menu with a right click on the icon and picks an item; 1 when it showed.
    int PickTrayItem(int downs)
    {
        MenuPick pick = {downs, 0};
        HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, PickMenuItem, &pick, 0, NULL);
        TrayEvent(WM_RBUTTONDOWN);
        WaitForSingleObject(thread, MenuDeadlineMs);
        CloseHandle(thread);
        PumpMessages();
        return pick.Shown;
    }
    UINT ItemState(UINT id) { return GetMenuState(GetSubMenu(main.TrayMenu, 0), id, MF_BYCOMMAND); }
    int Selected() { return (int)SendMessageA(main.TabControl, TCM_GETCURSEL, 0, 0); }
    void PassInLimit(InterfaceMonitor* monitor) { monitor->Total_in = 9 * GIGABYTE + 1; }
    void AlertLimits()
    {
        Settings.AlertType = AlertDistinct;
        Settings.LimitIN = Settings.LimitOUT = 10 * GIGABYTE;
        Settings.AlertPercent = 90;
    }
};

TEST_F(TrayTest, BalloonOncePerAlertCrossing)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    AlertLimits();
    InterfaceMonitor* monitor = TabMonitor(0);
    Tick();
    EXPECT_EQ(0, BalloonCount(fake.TrayCalls));

    PassInLimit(monitor);
    Tick();
    ASSERT_EQ(1, BalloonCount(fake.TrayCalls));
    const TrayCall* balloon = LastTrayCall(NIM_MODIFY, NIF_INFO);
    EXPECT_EQ(main.Window, balloon->Record.hWnd);
    EXPECT_EQ((UINT)TRAY_ICON_ID, balloon->Record.uID);
    EXPECT_EQ((UINT)NIF_INFO, balloon->Record.uFlags);  // icon and tip stay as they are
    EXPECT_EQ((DWORD)NIIF_WARNING, balloon->Record.dwInfoFlags);
    EXPECT_STREQ("Brisvane: alert limit reached", balloon->Record.szInfoTitle);
    EXPECT_STREQ("192.168.1.10 Test adapter 2\nIN: 9.00 GB of the 10.00 GB limit",
                 balloon->Record.szInfo);

    // Not again while the alert stays on; the event log still has its line every cycle.
    Tick();
    Tick();
    EXPECT_EQ(1, BalloonCount(fake.TrayCalls));
    EXPECT_EQ(3, Count(Log(), "Monitor port '192.168.1.10' - reached the alert limit\r\n"));

    // Nothing when it turns off after a reset; the next crossing is told again.
    monitor->Total_in = 0;
    Tick();
    EXPECT_EQ(0, monitor->AlertOn);
    EXPECT_EQ(1, BalloonCount(fake.TrayCalls));
    monitor->Total_out = 9 * GIGABYTE + 5;
    Tick();
    ASSERT_EQ(2, BalloonCount(fake.TrayCalls));
    EXPECT_STREQ("192.168.1.10 Test adapter 2\nOUT: 9.00 GB of the 10.00 GB limit",
                 LastTrayCall(NIM_MODIFY, NIF_INFO)->Record.szInfo);
}

TEST_F(TrayTest, BalloonClickShowsTheWindowOnThatAdaptersTab)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    fake.AddAdapter(4, 0xC3, "10.0.0.9");
    ASSERT_NE((HWND)NULL, Create());
    AlertLimits();
    ShowWindow(main.Window, SW_HIDE);
    InterfaceMonitor* second = TabMonitor(1);
    PassInLimit(second);  // an adapter out of sight passes its limit
    Tick();
    ASSERT_EQ(1, BalloonCount(fake.TrayCalls));
    EXPECT_EQ(0, Selected());

    TrayEvent(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_EQ(1, Selected());
    EXPECT_TRUE(IsWindowVisible(second->Window));
    EXPECT_FALSE(IsWindowVisible(TabMonitor(0)->Window));

    // From a minimised window too.
    SendMessageA(main.TabControl, TCM_SETCURSEL, 2, 0);
    ShowWindow(main.Window, SW_MINIMIZE);
    TrayEvent(NIN_BALLOONUSERCLICK);
    EXPECT_FALSE(IsIconic(main.Window));
    EXPECT_EQ(1, Selected());
}

TEST_F(TrayTest, TipGoesToTheTrayOnlyWhileItCanBeSeen)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    ShowWindow(main.Window, SW_HIDE);
    auto traffic = [&]() {
        fake.AdvanceSeconds(1);
        fake.Row(2)->dwInOctets += 1500;  // every cycle changes the totals in the tip
        Tick();
    };
    int tips = TipCount(fake.TrayCalls);
    for (int i = 0; i < 3; i++)
        traffic();
    EXPECT_EQ(tips, TipCount(fake.TrayCalls));

    // The mouse rests on the icon: the tip goes at once, then every cycle for a while.
    TrayEvent(WM_MOUSEMOVE);
    ASSERT_EQ(tips + 1, TipCount(fake.TrayCalls));
    EXPECT_STREQ("Brisvane: In 4 KB, Out 0 B, All 4 KB", LastTrayCall(NIM_MODIFY)->Record.szTip);
    TrayEvent(WM_MOUSEMOVE);  // nothing new to tell
    EXPECT_EQ(tips + 1, TipCount(fake.TrayCalls));
    for (int i = 0; i < TRAY_TIP_SEEN_CYCLES; i++)
        traffic();
    EXPECT_EQ(tips + 1 + TRAY_TIP_SEEN_CYCLES, TipCount(fake.TrayCalls));
    EXPECT_STREQ("Brisvane: In 13 KB, Out 0 B, All 13 KB", LastTrayCall(NIM_MODIFY)->Record.szTip);
    traffic();
    traffic();
    EXPECT_EQ(tips + 1 + TRAY_TIP_SEEN_CYCLES, TipCount(fake.TrayCalls));

    // An alert changes the icon at once, unseen or not, with the tip of the moment.
    AlertLimits();
    PassInLimit(TabMonitor(0));
    Tick();
    const TrayCall* icon = LastTrayCall(NIM_MODIFY, NIF_ICON);
    ASSERT_NE((const TrayCall*)NULL, icon);
    EXPECT_EQ(main.AlertIcon, icon->Record.hIcon);
    EXPECT_STREQ("Brisvane: In 9.00 GB, Out 0 B, All 9.00 GB", icon->Record.szTip);
}

TEST_F(TrayTest, MenuHasShowHideInBoldThenSettingsAboutStartWithWindowsAndClose)
{
    ASSERT_NE((HWND)NULL, Create());
    ASSERT_EQ(1, PickTrayItem(PickShowHide));
    EXPECT_FALSE(IsWindowVisible(main.Window));

    HMENU menu = GetSubMenu(main.TrayMenu, 0);
    const UINT ids[] = {ID_TRAY_SHOWHIDE, ID_APP_SETTINGS, ID_APP_ABOUT, ID_TRAY_STARTWITHWINDOWS,
                        0, ID_TRAY_CLOSE};
    const char* texts[] = {"&Show/Hide", "Se&ttings...", "&About...", "Start with &Windows", "",
                           "&Close"};
    ASSERT_EQ(6, GetMenuItemCount(menu));
    for (int i = 0; i < 6; i++) {
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(texts[i], text) << i;
        EXPECT_EQ(ids[i], GetMenuItemID(menu, i)) << i;
    }
    EXPECT_TRUE(GetMenuState(menu, 4, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ((UINT)ID_TRAY_SHOWHIDE, GetMenuDefaultItem(menu, FALSE, 0));
}

TEST_F(TrayTest, MenuItemsReachTheirHandlers)
{
    ASSERT_NE((HWND)NULL, Create());
    {
        ModalStep step("Settings", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        ASSERT_EQ(1, PickTrayItem(PickSettings));
        EXPECT_TRUE(step.Ran());
        EXPECT_FALSE(step.LeftOpen());
    }
    {
        ModalStep step("About", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
        ASSERT_EQ(1, PickTrayItem(PickAbout));
        EXPECT_TRUE(step.Ran());
        EXPECT_FALSE(step.LeftOpen());
    }

    // Start with Windows writes the value, and the menu shows it checked; picked again, it goes.
    const char* program = fake.ModulePath.c_str();
    EXPECT_EQ(0, StartsWithWindows(program));
    ASSERT_EQ(1, PickTrayItem(PickStartWithWindows));
    EXPECT_FALSE(ItemState(ID_TRAY_STARTWITHWINDOWS) & MF_CHECKED);  // as the menu showed
    EXPECT_EQ(1, StartsWithWindows(program));
    ASSERT_EQ(1, PickTrayItem(PickStartWithWindows));
    EXPECT_TRUE(ItemState(ID_TRAY_STARTWITHWINDOWS) & MF_CHECKED);
    EXPECT_EQ(0, StartsWithWindows(program));
}

TEST_F(TrayTest, CheckMarkShowsWhetherTheValueStartsThisProgram)
{
    ASSERT_NE((HWND)NULL, Create());
    ASSERT_EQ(1, SetStartWithWindows(1, fake.ModulePath.c_str()));  // as the installer leaves it
    ASSERT_EQ(1, PickTrayItem(PickShowHide));
    EXPECT_TRUE(ItemState(ID_TRAY_STARTWITHWINDOWS) & MF_CHECKED);

    ASSERT_EQ(1, SetStartWithWindows(1, "C:\\Elsewhere\\Brisvane.exe"));
    ASSERT_EQ(1, PickTrayItem(PickShowHide));
    EXPECT_FALSE(ItemState(ID_TRAY_STARTWITHWINDOWS) & MF_CHECKED);
}

TEST_F(TrayTest, SettingsAndAboutAreGreyedWhileOneOfThemIsOpen)
{
    ASSERT_NE((HWND)NULL, Create());
    UINT settingsState = 0, aboutState = 0;
    {
        ModalStep step("Settings", [&](HWND dialog) {
            // The tray menu, opened while the dialog is up.
            MenuPick pick = {0, 0};
            HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, PickMenuItem, &pick, 0, NULL);
            SendMessageA(main.Window, TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_RBUTTONDOWN);
            WaitForSingleObject(thread, MenuDeadlineMs);
            CloseHandle(thread);
            settingsState = ItemState(ID_APP_SETTINGS);
            aboutState = ItemState(ID_APP_ABOUT);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(main.Window, WM_COMMAND, ID_APP_SETTINGS, 0);
        EXPECT_TRUE(step.Ran());
    }
    EXPECT_TRUE(settingsState & MF_GRAYED);
    EXPECT_TRUE(aboutState & MF_GRAYED);
    ASSERT_EQ(1, PickTrayItem(PickShowHide));
    EXPECT_FALSE(ItemState(ID_APP_SETTINGS) & MF_GRAYED);
}

TEST_F(TrayTest, DoubleClickShowsTheWindowAndASingleClickOpensTheMenuAfterIt)
{
    ASSERT_NE((HWND)NULL, Create());
    ShowWindow(main.Window, SW_HIDE);
    TrayEvent(WM_LBUTTONDOWN);
    TrayEvent(WM_LBUTTONUP);
    TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    // The menu the first click would have opened is called off.
    EXPECT_FALSE(KillTimer(main.Window, TRAY_CLICK_TIMER_ID));

    // A single click opens the menu once no second click can follow.
    MenuPick pick = {PickShowHide, 0};
    HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, PickMenuItem, &pick, 0, NULL);
    TrayEvent(WM_LBUTTONDOWN);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, MenuDeadlineMs, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1)
        PumpMessages();
    CloseHandle(thread);
    PumpMessages();
    EXPECT_EQ(1, pick.Shown);
    EXPECT_FALSE(IsWindowVisible(main.Window));
}

TEST_F(TrayTest, ShowHideBringsBackAMinimisedWindow)
{
    ASSERT_NE((HWND)NULL, Create());
    ShowWindow(main.Window, SW_MINIMIZE);
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_FALSE(IsIconic(main.Window));
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_FALSE(IsWindowVisible(main.Window));
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_TRUE(IsWindowVisible(main.Window));
    EXPECT_FALSE(IsIconic(main.Window));
}
