// The frame window: tool bar, tab strip with one page per adapter, tray icon and shutdown.
#ifndef BRISVANE_MAINWINDOW_H
#define BRISVANE_MAINWINDOW_H

#include "WindowObject.h"

#define MAIN_WINDOW_CLASS "BrisvaneAtl_class"

class MainWindow : public WindowObject {
public:
    MainWindow();

    BEGIN_MSG_MAP(MainWindow)
    END_MSG_MAP()

    void OnLastMessage(HWND window) override;

    HWND TabControl;
    HWND ToolBar;
    HICON AlertIcon;
    int PollBusy;
    HMENU TrayMenu;
    int ShutdownDone;
};

#endif
