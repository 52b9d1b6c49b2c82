// A real main window in this test process, over scripted adapters and a private folder.
#ifndef BRISVANE_MAINWINDOWTESTSUPPORT_H
#define BRISVANE_MAINWINDOWTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>

#include "FakePlatform.h"
#include "InterfaceMonitor.h"
#include "MainWindow.h"
#include "Settings.h"
#include "Startup.h"
#include "TestSupport.h"

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved = Settings;
        fake.ModulePath = folder.Path("Brisvane.exe");
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
        Settings = saved;
    }
    HWND Create()
    {
        HWND window = CreateMainWindow(GetModuleHandleA(NULL), main);
        if (window != NULL)
            ShowWindow(window, SW_SHOWNORMAL);
        return window;
    }
    int TabCount() { return (int)SendMessageA(main.TabControl, TCM_GETITEMCOUNT, 0, 0); }
    std::string TabText(int position)
    {
        char text[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(main.TabControl, TCM_GETITEMA, position, (LPARAM)&item);
        return text;
    }
    InterfaceMonitor* TabMonitor(int position)
    {
        TCITEMA item = {};
        item.mask = TCIF_PARAM;
        if (!SendMessageA(main.TabControl, TCM_GETITEMA, position, (LPARAM)&item))
            return NULL;
        return (InterfaceMonitor*)item.lParam;
    }
    std::string PageText(InterfaceMonitor* monitor, int id)
    {
        return WindowText(GetDlgItem(monitor->Window, id));
    }
    void Tick() { SendMessageA(main.Window, WM_TIMER, POLL_TIMER_ID, 0); }
    std::string Log() { return ReadFileText(folder.Path("Brisvane.LOG")); }
    std::string Ini() { return ReadFileText(folder.Path("Brisvane.INI")); }
    int TrayCalls(DWORD action)
    {
        int count = 0;
        for (const TrayCall& call : fake.TrayCalls)
            count += call.Action == action;
        return count;
    }
    const TrayCall* LastTrayCall(DWORD action)
    {
        for (size_t i = fake.TrayCalls.size(); i > 0; i--)
            if (fake.TrayCalls[i - 1].Action == action)
                return &fake.TrayCalls[i - 1];
        return NULL;
    }

    SettingsRecord saved;
    TempFolder folder;
    FakePlatform fake;
    MainWindow main;
};

#endif
