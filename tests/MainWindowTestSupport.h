// A real main window in this test process, over scripted adapters and a private folder.
#ifndef BRISVANE_MAINWINDOWTESTSUPPORT_H
#define BRISVANE_MAINWINDOWTESTSUPPORT_H

#include <gtest/gtest.h>
#include <process.h>

#include <string>

#include "FakePlatform.h"
#include "InterfaceMonitor.h"
#include "MainWindow.h"
#include "MainWindowProbe.h"
#include "Settings.h"
#include "StartWithWindows.h"
#include "Startup.h"
#include "LogChannel.h"
#include "TestSupport.h"

// Picks a menu item with the keyboard once a menu shows: Down as often as given, then Enter.
struct MenuPicker {
    int Downs;
    volatile LONG Stop;  // the menu has closed: no more looking
};

inline unsigned __stdcall PickWhenMenuShows(void* argument)
{
    MenuPicker* pick = (MenuPicker*)argument;
    while (!pick->Stop) {
        HWND menu = FindWindowA("#32768", NULL);
        if (menu != NULL && IsWindowVisible(menu)) {
            for (int i = 0; i < pick->Downs; i++)
                PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

// Counts the menu commands the thread takes from its queue for one window, while it lives: a
// menu posts its pick as WM_COMMAND with neither a notification code nor a control.
class MenuCommandCount {
public:
    explicit MenuCommandCount(HWND window)
    {
        Window() = window;
        Count() = 0;
        hook = SetWindowsHookExA(WH_GETMESSAGE, Take, NULL, GetCurrentThreadId());
    }
    ~MenuCommandCount() { UnhookWindowsHookEx(hook); }
    int Seen() const { return Count(); }

private:
    static HWND& Window()
    {
        static HWND window;
        return window;
    }
    static int& Count()
    {
        static int count;
        return count;
    }
    static LRESULT CALLBACK Take(int code, WPARAM removal, LPARAM message)
    {
        const MSG* taken = (const MSG*)message;
        if (code == HC_ACTION && removal == PM_REMOVE && taken->hwnd == Window() &&
            taken->message == WM_COMMAND && HIWORD(taken->wParam) == 0 && taken->lParam == 0)
            Count()++;
        return CallNextHookEx(NULL, code, removal, message);
    }
    HHOOK hook;
};

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved = Settings;
        EventLog.ForgetWaiting();
        TrafficLog.ForgetWaiting();
        fake.ModulePath = folder.Path("Brisvane.exe");
        // The tray menu's "Start with Windows" writes into a key of the test's own.
        savedRunKey = RunKey;
        runKeyPath = "Software\\BrisvaneTest\\Run-" + std::to_string(GetCurrentProcessId());
        RunKey.Path = runKeyPath.c_str();
        // The settings the program reads at creation: event log on, into the private folder.
        std::string ini = folder.Path("Brisvane.INI");
        WritePrivateProfileStringA("Settings", "EnableLog", "1", ini.c_str());
    }
    void TearDown() override
    {
        if (main.Window != NULL) {
            ShowWindow(main.Window, SW_HIDE);
            SendMessageA(main.Window, WM_CLOSE, 0, 0);
        }
        PumpMessages();
        EventLog.ForgetWaiting();
        TrafficLog.ForgetWaiting();
        Settings = saved;
        RegDeleteKeyA(HKEY_CURRENT_USER, runKeyPath.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\BrisvaneTest");
        RunKey = savedRunKey;
    }
    HWND Create()
    {
        HWND window = CreateMainWindow(GetModuleHandleA(NULL), main);
        if (window != NULL)
            ShowWindow(window, SW_SHOWNORMAL);
        return window;
    }
    HWND TabControl() { return MainWindowProbe::TabControl(main); }
    HWND ToolBar() { return MainWindowProbe::ToolBar(main); }
    TrayIcon& Tray() { return MainWindowProbe::Tray(main); }
    bool ShutdownDone() { return MainWindowProbe::ShutdownDone(main); }
    HistoryWindow& HistoryView() { return MainWindowProbe::HistoryView(main); }
    int TabCount() { return (int)SendMessageA(TabControl(), TCM_GETITEMCOUNT, 0, 0); }
    std::string TabText(int position)
    {
        char text[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(TabControl(), TCM_GETITEMA, position, (LPARAM)&item);
        return text;
    }
    TabStrip& Tabs() { return MainWindowProbe::Tabs(main); }
    TrafficMeter& Meter() { return MainWindowProbe::Meter(main); }
    InterfaceMonitor* TabMonitor(int position) { return Tabs().MonitorAt(position); }
    // The window of the monitor's page; null when it has none.
    HWND PageWindow(const InterfaceMonitor* monitor)
    {
        InterfacePage* page = Tabs().PageAt(Tabs().PositionOf(monitor));
        return page != NULL ? page->Window : NULL;
    }
    std::string PageText(InterfaceMonitor* monitor, int id)
    {
        return WindowText(GetDlgItem(PageWindow(monitor), id));
    }
    void Tick() { SendMessageA(main.Window, WM_TIMER, PollTimerId, 0); }
    // An event on the tray icon, as the shell reports it.
    void TrayEvent(UINT event) { SendMessageA(main.Window, TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, event); }
    // Sends a tray event that opens the menu and picks an item once the menu shows (MenuPicker).
    // A left click's menu comes from its timer. 1 once the picked item's command has reached the
    // window. A menu that closed before the pick reached it (the window lost the foreground late,
    // to a window hidden or closed just before) is opened again.
    int PickFromTrayMenu(WPARAM wParam, LPARAM lParam, int downs, bool fromClickTimer = false)
    {
        enum { Attempts = 5 };
        MenuCommandCount counted(main.Window);
        for (int attempt = 0; attempt < Attempts; attempt++) {
            MenuPicker pick = {downs, 0};
            HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, PickWhenMenuShows, &pick, 0, NULL);
            // Back once the menu has closed.
            SendMessageA(main.Window, TRAY_CALLBACK_MESSAGE, wParam, lParam);
            if (fromClickTimer)
                DispatchUntilClickTimer();
            InterlockedExchange(&pick.Stop, 1);
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
            PumpMessages();
            if (counted.Seen() > 0)
                return 1;
        }
        return 0;
    }
    // Runs the messages of the thread until the tray's click timer has run (its menu is closed).
    void DispatchUntilClickTimer()
    {
        const DWORD deadlineMs = 5000;
        for (DWORD start = GetTickCount(); GetTickCount() - start < deadlineMs;) {
            MSG message;
            if (!PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, NULL, FALSE, deadlineMs, QS_ALLINPUT);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (message.message == WM_TIMER && message.hwnd == main.Window &&
                message.wParam == TRAY_CLICK_TIMER_ID)
                return;
        }
    }
    std::string Log() { return ReadLogText(folder.Path("Brisvane.LOG")); }
    std::string Ini() { return ReadFileText(folder.Path("Brisvane.INI")); }
    int TrayCalls(DWORD action)
    {
        int count = 0;
        for (const TrayCall& call : fake.TrayCalls)
            count += call.Action == action;
        return count;
    }
    const TrayCall* LastTrayCall(DWORD action, UINT flag = 0)
    {
        for (size_t i = fake.TrayCalls.size(); i > 0; i--)
            if (fake.TrayCalls[i - 1].Action == action &&
                (flag == 0 || (fake.TrayCalls[i - 1].Record.uFlags & flag)))
                return &fake.TrayCalls[i - 1];
        return NULL;
    }

    SettingsRecord saved;
    RunKeyLocation savedRunKey;
    std::string runKeyPath;
    TempFolder folder;
    FakePlatform fake;
    MainWindow main;
};

#endif
