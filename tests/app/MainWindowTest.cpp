// The main window with real windows: creation, layout, tab changes, close and shutdown, tray.
#include "MainWindowTestSupport.h"

#include "ModalDriver.h"
#include "ResetSchedule.h"
#include "resource.h"

namespace {

LRESULT CALLBACK FailingClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_F(MainWindowTest, CreationBuildsChildrenLoadsSettingsAndAddsTrayIcon)
{
    fake.SetTime(2024, 3, 1);
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());

    EXPECT_EQ(IDC_TABCONTROL, GetDlgCtrlID(TabControl()));
    EXPECT_EQ(IDC_TOOLBAR, GetDlgCtrlID(ToolBar()));
    EXPECT_EQ(3, (int)SendMessageA(ToolBar(), TB_BUTTONCOUNT, 0, 0));
    TBBUTTON button = {};
    SendMessageA(ToolBar(), TB_GETBUTTON, 0, (LPARAM)&button);
    EXPECT_EQ(ID_APP_SETTINGS, button.idCommand);
    EXPECT_EQ(0, button.iBitmap);
    SendMessageA(ToolBar(), TB_GETBUTTON, 1, (LPARAM)&button);
    EXPECT_EQ(ID_APP_ABOUT, button.idCommand);
    EXPECT_EQ(1, button.iBitmap);
    SendMessageA(ToolBar(), TB_GETBUTTON, 2, (LPARAM)&button);
    EXPECT_EQ(ID_APP_HISTORY, button.idCommand);
    EXPECT_EQ(2, button.iBitmap);
    EXPECT_EQ(1, Settings.EnableLog);
    EXPECT_NE((HMENU)NULL, Tray().Menu());
    EXPECT_NE((HICON)NULL, Tray().AlertIcon());

    TrayEvent(WM_MOUSEMOVE);  // the tip goes to the tray once it can be seen
    ASSERT_GE(fake.TrayCalls.size(), 2u);
    const TrayCall& add = fake.TrayCalls[0];
    EXPECT_EQ((DWORD)NIM_ADD, add.Action);
    EXPECT_EQ(main.Window, add.Record.hWnd);
    EXPECT_EQ(1u, add.Record.uID);
    EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.Record.uFlags);
    EXPECT_EQ((UINT)(WM_USER + 1), add.Record.uCallbackMessage);
    EXPECT_EQ(Tray().NormalIcon(), add.Record.hIcon);
    EXPECT_STREQ("Brisvane", add.Record.szTip);
    // The first poll cycle ran inside the creation, before the timer.
    EXPECT_EQ(1, TabCount());
    const TrayCall* modify = LastTrayCall(NIM_MODIFY);
    ASSERT_NE((const TrayCall*)NULL, modify);
    EXPECT_EQ((UINT)(NIF_ICON | NIF_TIP), modify->Record.uFlags);
    EXPECT_STREQ("Brisvane: In 0 B, Out 0 B, All 0 B", modify->Record.szTip);
    // Where it opens: MainWindowPlaceTest.
}

TEST_F(MainWindowTest, LayoutFollowsTheClientArea)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    SetWindowPos(main.Window, NULL, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOMOVE);
    RECT client, bar, tab, page, area;
    GetClientRect(main.Window, &client);
    GetWindowRect(ToolBar(), &bar);
    MapWindowPoints(NULL, main.Window, (POINT*)&bar, 2);
    GetWindowRect(TabControl(), &tab);
    MapWindowPoints(NULL, main.Window, (POINT*)&tab, 2);
    int barHeight = bar.bottom - bar.top;
    EXPECT_GT(barHeight, 0);
    // The tool bar spans the whole width (it sizes its border itself).
    EXPECT_LE(bar.left, 0);
    EXPECT_GE(bar.right, client.right);
    EXPECT_EQ(0, tab.left);
    EXPECT_EQ(barHeight, tab.top);
    EXPECT_EQ(client.right, tab.right);
    EXPECT_EQ(client.bottom, tab.bottom);

    InterfaceMonitor* monitor = TabMonitor(0);
    ASSERT_NE((InterfaceMonitor*)NULL, monitor);
    GetClientRect(TabControl(), &area);
    SendMessageA(TabControl(), TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
    GetWindowRect(PageWindow(monitor), &page);
    MapWindowPoints(NULL, TabControl(), (POINT*)&page, 2);
    EXPECT_EQ(area.left, page.left);
    EXPECT_EQ(area.top, page.top);
    EXPECT_EQ(area.right, page.right);
    EXPECT_EQ(area.bottom, page.bottom);
    EXPECT_TRUE(IsWindowVisible(PageWindow(monitor)));
}

TEST_F(MainWindowTest, TabChangeHidesTheOldPageBeforeShowingTheNew)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    fake.AddAdapter(3, 0x02, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    ASSERT_EQ(2, TabCount());
    InterfaceMonitor* first = TabMonitor(0);
    InterfaceMonitor* second = TabMonitor(1);
    EXPECT_TRUE(IsWindowVisible(PageWindow(first)));
    EXPECT_FALSE(IsWindowVisible(PageWindow(second)));

    NMHDR changing = {TabControl(), IDC_TABCONTROL, (UINT)TCN_SELCHANGING};
    EXPECT_EQ(0, SendMessageA(main.Window, WM_NOTIFY, IDC_TABCONTROL, (LPARAM)&changing));
    EXPECT_FALSE(IsWindowVisible(PageWindow(first)));
    EXPECT_FALSE(IsWindowVisible(PageWindow(second)));
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    NMHDR change = {TabControl(), IDC_TABCONTROL, (UINT)TCN_SELCHANGE};
    SendMessageA(main.Window, WM_NOTIFY, IDC_TABCONTROL, (LPARAM)&change);
    EXPECT_FALSE(IsWindowVisible(PageWindow(first)));
    EXPECT_TRUE(IsWindowVisible(PageWindow(second)));
    EXPECT_TRUE(IsChild(PageWindow(second), GetFocus()) || GetFocus() == PageWindow(second));
}

// In the tray no control of the window holds the focus (its caret would blink there twice a
// second for nobody); shown from the tray, the page on show has it, and keys reach it.
TEST_F(MainWindowTest, OnlyAWindowInSightHoldsTheFocus)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    HWND window = CreateMainWindow(GetModuleHandleA(NULL), main);  // started with /s
    ASSERT_NE((HWND)NULL, window);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(GetFocus() == window || IsChild(window, GetFocus()));

    SendMessageA(window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    HWND page = PageWindow(TabMonitor(0));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsChild(page, GetFocus())) << GetFocus();

    SendMessageA(window, WM_CLOSE, 0, 0);  // back to the tray
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(GetFocus() == window || IsChild(window, GetFocus()));
}

TEST_F(MainWindowTest, CloseHidesWhileVisibleAndShutsDownWhileHidden)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    HWND window = main.Window;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(0, ShutdownDone());

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, ShutdownDone());
    EXPECT_EQ(1, TrayCalls(NIM_DELETE));
    EXPECT_EQ((HBRUSH)NULL, AlertBrush);
    std::string ini = Ini();
    EXPECT_NE(std::string::npos, ini.find("[Settings]"));
    EXPECT_NE(std::string::npos, ini.find("[00-1A-2B-3C-4D-01]"));
    EXPECT_EQ(1, CountOf(Log(), "Monitor 00-1A-2B-3C-4D-01 port\t'192.168.1.10'\tStop IN "));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowTest, CloseCommandAsksFirstAndNoKeepsTheWindowHidden)
{
    ASSERT_NE((HWND)NULL, Create());
    AnswerMessageBox("Brisvane", IDNO);
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_CLOSE, 0);
    MessageBoxReading question = StopAnsweringMessageBoxes();
    ASSERT_TRUE(question.Found);
    EXPECT_EQ("Do you really want to close Brisvane ?", question.Text);
    EXPECT_EQ(2, question.Buttons);
    EXPECT_TRUE(IsWindow(main.Window));
    EXPECT_FALSE(IsWindowVisible(main.Window));
    PumpMessages();
    EXPECT_EQ(0, ShutdownDone());

    AnswerMessageBox("Brisvane", IDYES);
    HWND window = main.Window;
    SendMessageA(window, WM_COMMAND, ID_TRAY_CLOSE, 0);
    EXPECT_TRUE(StopAnsweringMessageBoxes().Found);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, ShutdownDone());
}

TEST_F(MainWindowTest, EndSessionShutsDownOnceAndSavesOnce)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    HWND window = main.Window;
    // A logoff that was cancelled: the session goes on, and so does the counting.
    EXPECT_EQ(TRUE, SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_NE(std::string::npos, Ini().find("[00-1A-2B-3C-4D-01]"));  // saved when asked
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(0, ShutdownDone());
    fake.Rows[0].dwInOctets += 500;
    Tick();
    Tick();
    EXPECT_EQ(500u, TabMonitor(0)->Total_in);
    EXPECT_EQ(0, TrayCalls(NIM_DELETE));

    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(1, ShutdownDone());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(1, TrayCalls(NIM_DELETE));
    EXPECT_EQ(1, CountOf(Log(), "\tStop IN "));
    std::string iniAfterEndSession = Ini();

    // Timer messages after the shutdown find nothing to do.
    Tick();
    ShowWindow(window, SW_HIDE);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, TrayCalls(NIM_DELETE));
    EXPECT_EQ(1, CountOf(Log(), "\tStop IN "));
    EXPECT_EQ(iniAfterEndSession, Ini());
}

TEST_F(MainWindowTest, TaskbarRestartAddsTheTrayIconAgain)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(0u, taskbarCreated);
    fake.TrayCalls.clear();
    // The broadcast Explorer sends after it restarted.
    SendMessageTimeoutA(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 2000, NULL);
    PumpMessages();
    ASSERT_EQ(1, TrayCalls(NIM_ADD));
    const TrayCall* add = LastTrayCall(NIM_ADD);
    EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), add->Record.uFlags);
    EXPECT_EQ((UINT)(WM_USER + 1), add->Record.uCallbackMessage);
    EXPECT_STREQ("Brisvane: In 0 B, Out 0 B, All 0 B", add->Record.szTip);
    EXPECT_EQ(Tray().NormalIcon(), add->Record.hIcon);
}

TEST_F(MainWindowTest, FailingCreationEndsWithZeroAndNoTrayIcon)
{
    // A tool bar that cannot be created: a class of the same name, local to this program,
    // is found before the common controls' one.
    WNDCLASSEXA failing = {};
    failing.cbSize = sizeof(failing);
    failing.lpfnWndProc = FailingClassProc;
    failing.hInstance = GetModuleHandleA(NULL);
    failing.lpszClassName = TOOLBARCLASSNAMEA;
    ASSERT_NE(0, RegisterClassExA(&failing));
    int exitCode = RunBrisvane(GetModuleHandleA(NULL), "", SW_SHOWNORMAL);
    UnregisterClassA(TOOLBARCLASSNAMEA, GetModuleHandleA(NULL));
    EXPECT_EQ(0, exitCode);
    EXPECT_EQ(0, TrayCalls(NIM_ADD));
    EXPECT_EQ((HWND)NULL, FindWindowW(MainWindowClass, NULL));
    EXPECT_EQ(0, Settings.EnableLog);  // the settings were never loaded
    EXPECT_EQ(0, WindowModule.CreatingCount);
}

TEST_F(MainWindowTest, TrayMenuOpensOnClicksAndKeysAndItsItemsReachTheWindow)
{
    ASSERT_NE((HWND)NULL, Create());
    HMENU popup = GetSubMenu(Tray().Menu(), 0);
    ASSERT_NE((HMENU)NULL, popup);
    char text[64] = "";
    GetMenuStringA(Tray().Menu(), 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Icon Menu", text);
    EXPECT_EQ((UINT)ID_TRAY_SHOWHIDE, GetMenuItemID(popup, 0));

    const UINT events[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_CONTEXTMENU, NIN_SELECT,
                           NIN_KEYSELECT};
    for (UINT event : events) {
        BOOL visible = IsWindowVisible(main.Window);
        // A left click opens the menu from a timer, once it cannot become a double click.
        EXPECT_EQ(1, PickFromTrayMenu(TRAY_ICON_ID, event, 1, event == WM_LBUTTONDOWN)) << event;
        EXPECT_NE(visible, IsWindowVisible(main.Window)) << event;
    }

    // Other events on the icon open nothing.
    BOOL visible = IsWindowVisible(main.Window);
    SendMessageA(main.Window, WM_USER + 1, TRAY_ICON_ID, WM_MOUSEMOVE);
    SendMessageA(main.Window, WM_USER + 1, TRAY_ICON_ID, WM_LBUTTONUP);
    PumpMessages();
    HWND menu = FindWindowA("#32768", NULL);
    EXPECT_FALSE(menu != NULL && IsWindowVisible(menu));
    EXPECT_EQ(visible, IsWindowVisible(main.Window));
}

namespace {

// Steps run inside the program's own message loop by a thread timer.
struct LoopScript {
    int Step;
    HWND FocusBefore;
    HWND FocusAfter;
    HWND Window;
    int IdBefore;
    int IdAfter;
    bool SamePage;
};
LoopScript Loop;

void CALLBACK LoopStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = FindWindowW(MainWindowClass, NULL);
    switch (Loop.Step++) {
    case 0:
        Loop.Window = window;
        // The user clicks into the page's first field.
        SetFocus(GetDlgItem(FindWindowExA(GetDlgItem(window, IDC_TABCONTROL), NULL, "#32770",
                                          NULL),
                            IDC_PAGE_DESCR));
        Loop.FocusBefore = GetFocus();
        Loop.IdBefore = GetDlgCtrlID(Loop.FocusBefore);
        // Tab inside the page moves between its fields, as in any dialog.
        PostMessageA(Loop.FocusBefore, WM_KEYDOWN, VK_TAB, 0);
        PostMessageA(Loop.FocusBefore, WM_KEYUP, VK_TAB, 0);
        break;
    case 1:
        Loop.FocusAfter = GetFocus();
        Loop.IdAfter = GetDlgCtrlID(Loop.FocusAfter);
        Loop.SamePage = GetParent(Loop.FocusAfter) == GetParent(Loop.FocusBefore);
        ShowWindow(window, SW_HIDE);
        PostMessageA(window, WM_CLOSE, 0, 0);
        KillTimer(NULL, timer);
        break;
    }
}

}  // namespace

TEST_F(MainWindowTest, MessageLoopLetsTheSelectedPageHandleDialogKeys)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    Loop = LoopScript();
    UINT_PTR timer = SetTimer(NULL, 0, 300, LoopStep);
    int exitCode = RunBrisvane(GetModuleHandleA(NULL), "", SW_SHOWNORMAL);
    KillTimer(NULL, timer);
    EXPECT_EQ(0, exitCode);
    ASSERT_EQ(2, Loop.Step);
    EXPECT_EQ(IDC_PAGE_DESCR, Loop.IdBefore);
    EXPECT_EQ(IDC_PAGE_MAC, Loop.IdAfter);
    EXPECT_TRUE(Loop.SamePage);
    EXPECT_FALSE(IsWindow(Loop.Window));
}

// The balloons sent so far with that title.
static int BalloonsTitled(const FakePlatform& fake, const char* title)
{
    int count = 0;
    for (const TrayCall& call : fake.TrayCalls)
        count += (call.Record.uFlags & NIF_INFO) != 0 && strcmp(call.Record.szInfoTitle, title) == 0;
    return count;
}

TEST_F(MainWindowTest, AFailedSettingsSaveAndAHeldLogAreEachToldOnceAndNothingIsLost)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    const std::string ini = folder.Path("Brisvane.INI");
    const std::string log = folder.Path("Brisvane.LOG");

    // The settings' save after OK fails while another program holds the INI file.
    HANDLE heldIni = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, heldIni);
    RunWithStep([&] { SendMessageA(main.Window, WM_COMMAND, ID_APP_SETTINGS, 0); }, "Settings",
                [](HWND dialog) { SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0); });
    CloseHandle(heldIni);
    EXPECT_EQ(1, BalloonsTitled(fake, "Brisvane cannot save its counts"));
    EXPECT_EQ(1, CountOf(Log(), "The counters could not be saved to "));

    // The event log held without write sharing: its lines wait, the user is told once.
    HANDLE heldLog = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, heldLog);
    EventLog.WriteLine("first waiting\r\n");
    for (int cycle = 0; cycle < 3; cycle++)
        Tick();
    EventLog.WriteLine("second waiting\r\n");
    Tick();
    EXPECT_EQ(1, BalloonsTitled(fake, "Brisvane cannot write its log"));
    EXPECT_EQ(0, CountOf(Log(), "waiting"));
    CloseHandle(heldLog);
    // The next cycle writes them, in order, with the line that tells of the failure.
    Tick();
    std::string text = Log();
    size_t first = text.find("first waiting"), second = text.find("second waiting");
    EXPECT_NE(std::string::npos, first);
    EXPECT_LT(first, second);
    EXPECT_NE(std::string::npos, second);
    EXPECT_EQ(1, CountOf(text, "The log " + log + " could not be written: "));
    EXPECT_EQ(1, BalloonsTitled(fake, "Brisvane cannot write its log"));
}
