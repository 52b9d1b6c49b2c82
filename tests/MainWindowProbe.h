// The main window's private state, reached by tests only.
#ifndef BRISVANE_MAINWINDOWPROBE_H
#define BRISVANE_MAINWINDOWPROBE_H

#include "MainWindow.h"

struct MainWindowProbe {
    static HWND& TabControl(MainWindow& window) { return window.TabControl; }
    static TabStrip& Tabs(MainWindow& window) { return window.Tabs; }
    static TrafficMeter& Meter(MainWindow& window) { return window.Meter; }
    static SpeedViews& Speed(MainWindow& window) { return window.Speed; }
    static HWND ToolBar(MainWindow& window) { return window.ToolBar; }
    static bool ShutdownDone(MainWindow& window) { return window.ShutdownDone; }
    static HistoryWindow& HistoryView(MainWindow& window) { return window.HistoryView; }
    static TrayIcon& Tray(MainWindow& window) { return window.Tray; }
    static UINT TaskbarCreatedMessage(MainWindow& window) { return window.TaskbarCreatedMessage; }
    static UINT LayoutDpi(MainWindow& window) { return window.Dpi; }
    static SIZE ClientSizeForPage(MainWindow& window) { return window.ClientSizeForPage(); }
};

#endif
