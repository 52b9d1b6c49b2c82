// The main window's tray icon beyond adding and removing it: the menu, the tip, which is sent
// only while it can be seen, and the alert balloons.
#include <string.h>

#include "AlertNotice.h"
#include "BoundedText.h"
#include "InterfaceMonitor.h"
#include "MainWindow.h"
#include "Platform.h"
#include "Settings.h"
#include "StartWithWindows.h"

#define TRAY_TIP_PREFIX "Brisvane: "
#define TRAY_TIP_ALONE "Brisvane"
#define BALLOON_TITLE "Brisvane: alert limit reached"
#define BALLOON_TIMEOUT_MS 10000

void MainWindow::ShowMainWindow()
{
    if (!IsWindowVisible(Window))
        ShowWindow(Window, SW_SHOWNORMAL);
    else if (IsIconic(Window))
        ShowWindow(Window, SW_RESTORE);
    SetForegroundWindow(Window);
}

// The program's own path, as the Run value names it.
static int ReadProgramPath(char* path, DWORD size)
{
    DWORD length = Platform.ReadModuleFileName(NULL, path, size);
    return length > 0 && length < size;
}

void MainWindow::OpenTrayMenu()
{
    HMENU menu = GetSubMenu(TrayMenu, 0);
    if (menu == NULL)
        return;
    SetMenuDefaultItem(menu, ID_TRAY_SHOWHIDE, FALSE);
    char path[MAX_PATH];
    int starts = ReadProgramPath(path, sizeof(path)) && StartsWithWindows(path);
    CheckMenuItem(menu, ID_TRAY_STARTWITHWINDOWS, starts ? MF_CHECKED : MF_UNCHECKED);
    UINT dialogItems = CommandDialogOpen ? MF_GRAYED : MF_ENABLED;
    EnableMenuItem(menu, ID_APP_SETTINGS, dialogItems);
    EnableMenuItem(menu, ID_APP_ABOUT, dialogItems);

    POINT cursor;
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere; the
    // message after it lets the shell see that the menu is gone.
    SetForegroundWindow(Window);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN | TPM_RIGHTALIGN, cursor.x, cursor.y, 0, Window, NULL);
    PostMessageA(Window, WM_NULL, 0, 0);
}

LRESULT MainWindow::OnStartWithWindows(WORD, WORD, HWND, BOOL&)
{
    char path[MAX_PATH];
    if (ReadProgramPath(path, sizeof(path)))
        SetStartWithWindows(!StartsWithWindows(path), path);
    return 0;
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

void MainWindow::RefreshTrayTip()
{
    if (ShutdownDone)
        return;
    char tip[TRAY_TIP_CHARS];
    FormatTrayTip(SelectedMonitor(), tip, sizeof(tip));
    if (strcmp(TrayRecord.szTip, tip) == 0)
        return;
    CopyText(TrayRecord.szTip, sizeof(TrayRecord.szTip), tip);
    SendTrayRecord(NIM_MODIFY);
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
    char text[sizeof(((NOTIFYICONDATAA*)NULL)->szInfo)];
    FormatAlertNotice(notice, monitor->IPv4Text, description, text, sizeof(text));
    SendBalloon(monitor, NIIF_WARNING, BALLOON_TITLE, text);
}

void MainWindow::SendBalloon(InterfaceMonitor* monitor, DWORD icon, const char* title,
                             const char* text)
{
    NOTIFYICONDATAA record = {};
    record.cbSize = TrayRecordSize();
    record.hWnd = Window;
    record.uID = TRAY_ICON_ID;
    record.uFlags = NIF_INFO;
    record.dwInfoFlags = icon;
    record.uTimeout = BALLOON_TIMEOUT_MS;
    CopyText(record.szInfoTitle, sizeof(record.szInfoTitle), title);
    CopyText(record.szInfo, sizeof(record.szInfo), text);
    BalloonMonitor = monitor;
    Platform.NotifyIcon(NIM_MODIFY, &record);
}

void MainWindow::OnBalloonClick()
{
    if (ShutdownDone)
        return;
    if (BalloonMonitor == NULL) {
        ShowMainWindow();
        return;
    }
    // Monitors live as long as the tab strip, so the pointer is still good; its tab is found
    // again because tabs shift as adapters come.
    int position = Tabs().PositionOf(BalloonMonitor);
    if (position >= 0 && position != Tabs().Selected())
        ShowTab(position);
    ShowMainWindow();
    FitCurrentPage(TRUE);
}
