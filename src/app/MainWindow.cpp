#include "MainWindow.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "InterfaceMonitor.h"
#include "LogChannel.h"
#include "Platform.h"
#include "ResetSchedule.h"
#include "Settings.h"
#include "SettingsDialog.h"

#define TOOLBAR_RESOURCE_TYPE 241
#define TAB_CONTROL_STYLE (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_FOCUSONBUTTONDOWN)
#define TOOL_BAR_STYLE (WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS)
#define POLL_PERIOD_MS 1000
#define ALERT_BRUSH_COLOUR RGB(255, 0, 0)

MainWindow::MainWindow()
    : TabControl(NULL), ToolBar(NULL), PollBusy(0), ShutdownDone(0),
      TaskbarCreatedMessage(RegisterWindowMessageA("TaskbarCreated")), ShownTitle(),
      BalloonMonitor(NULL), Accelerators(NULL), CommandDialogOpen(0), FailedAdapters(),
      CycleCount(0), LastSaveCycle(0), SaveFailureReported(0), LogFailureReported(0),
      IfTableSize(0)
{
}

void MainWindow::OnLastMessage(HWND)
{
    PostQuitMessage(0);
}

// Adds the tool bar's buttons from the tool bar resource and its bitmap. 0 on failure.
static int AddToolBarButtons(HWND toolBar)
{
    HRSRC found = FindResourceA(WindowModule.Instance, MAKEINTRESOURCEA(IDR_TOOLBAR),
                                MAKEINTRESOURCEA(TOOLBAR_RESOURCE_TYPE));
    if (found == NULL)
        return 0;
    HGLOBAL loaded = LoadResource(WindowModule.Instance, found);
    if (loaded == NULL)
        return 0;
    const WORD* data = (const WORD*)LockResource(loaded);
    DWORD bytes = SizeofResource(WindowModule.Instance, found);
    if (data == NULL || bytes < 4 * sizeof(WORD))
        return 0;
    WORD count = data[3];
    if ((DWORD)(4 + count) * sizeof(WORD) > bytes)
        return 0;

    int images = 0;
    for (WORD i = 0; i < count; i++) {
        WORD command = data[4 + i];
        TBBUTTON button = {};
        button.idCommand = command;
        button.fsState = TBSTATE_ENABLED;
        button.iString = -1;
        if (command != 0) {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = images++;
        } else {
            button.fsStyle = TBSTYLE_SEP;
        }
        if (!SendMessageA(toolBar, TB_ADDBUTTONSA, 1, (LPARAM)&button))
            return 0;
    }
    TBADDBITMAP bitmap = {WindowModule.Instance, IDB_TOOLBAR};
    return SendMessageA(toolBar, TB_ADDBITMAP, images, (LPARAM)&bitmap) != -1;
}

LRESULT MainWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    TabControl = CreateWindowExA(0, WC_TABCONTROLA, NULL, TAB_CONTROL_STYLE, 0, 0, 0, 0, Window,
                                 (HMENU)(UINT_PTR)IDC_TABCONTROL, WindowModule.Instance, NULL);
    if (TabControl == NULL)
        return -1;
    SendMessageA(TabControl, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);

    ToolBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, NULL, TOOL_BAR_STYLE, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window,
                              (HMENU)(UINT_PTR)IDC_TOOLBAR, WindowModule.Instance, NULL);
    if (ToolBar == NULL)
        return -1;
    SendMessageA(ToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (!AddToolBarButtons(ToolBar))
        return -1;

    Settings.Load();
    History.ReadTodayFigures(IniPath);
    ReadForecastState(IniPath, &Forecasts.Warning);
    // A tray that is not ready yet is tried again at every cycle.
    Tray.Create(Window, WindowModule.Instance, "Brisvane");

    AlertBrushOwned.Reset(CreateSolidBrush(ALERT_BRUSH_COLOUR));
    AlertBrush = AlertBrushOwned.Get();
    PollCycle();
    // Without the timer nothing would be counted: the window is not made.
    if (SetTimer(Window, POLL_TIMER_ID, POLL_PERIOD_MS, NULL) == 0) {
        char reason[SHORT_TEXT * 4];
        FormatSystemError(GetLastError(), reason, sizeof(reason));
        EventLog.WriteLine("The poll timer could not be started: %s\r\n", reason);
        Shutdown();
        MessageBoxA(NULL, "Brisvane cannot start its timer and does not run.", "Brisvane",
                    MB_OK | MB_ICONERROR);
        return -1;
    }
    AddKeyboardCommands();
    return 0;
}

LRESULT MainWindow::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam == TRAY_CLICK_TIMER_ID) {
        // The click did not become a double click.
        KillTimer(Window, TRAY_CLICK_TIMER_ID);
        POINT at;
        GetCursorPos(&at);
        OpenTrayMenu(at);
        return 0;
    }
    return PollCycle();
}

LRESULT MainWindow::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    int width = LOWORD(lParam);
    int height = HIWORD(lParam);
    RECT bar;
    GetWindowRect(ToolBar, &bar);
    int barHeight = bar.bottom - bar.top;
    SetWindowPos(ToolBar, NULL, 0, 0, width, barHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(TabControl, NULL, 0, barHeight, width, height - barHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitCurrentPage(FALSE);
    return 0;
}

void MainWindow::FitCurrentPage(BOOL focus)
{
    InterfaceMonitor* monitor = SelectedMonitor();
    if (monitor == NULL || monitor->Window == NULL)
        return;
    monitor->ShowFigures();  // a page out of sight was not kept up to date
    RECT area;
    GetClientRect(TabControl, &area);
    SendMessageA(TabControl, TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
    SetWindowPos(monitor->Window, NULL, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_SHOWWINDOW | SWP_NOZORDER);
    if (focus)
        SetFocus(monitor->Window);
}

LRESULT MainWindow::OnSelChanging(int, NMHDR*, BOOL&)
{
    InterfaceMonitor* monitor = SelectedMonitor();
    if (monitor != NULL && monitor->Window != NULL)
        ShowWindow(monitor->Window, SW_HIDE);
    return 0;
}

LRESULT MainWindow::OnSelChange(int, NMHDR*, BOOL&)
{
    FitCurrentPage(TRUE);
    return 0;
}

void MainWindow::Shutdown()
{
    if (ShutdownDone)
        return;
    ShutdownDone = 1;
    KillTimer(Window, POLL_TIMER_ID);
    if (HistoryView.Window != NULL)
        DestroyWindow(HistoryView.Window);  // it keeps its place in the INI file
    // One save of the settings, every adapter's counters and the day's usage; then closing the
    // tab strip destroys every page, and each logs its stop line.
    SaveAllCounters();
    SendMessageA(TabControl, WM_CLOSE, 0, 0);
    TabControl = NULL;
    AlertBrush = NULL;
    AlertBrushOwned.Reset();
    Tray.Remove();
}

LRESULT MainWindow::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    // Out of sight the pages were not written; the one on show catches up before it appears.
    if (wParam) {
        InterfaceMonitor* monitor = SelectedMonitor();
        if (monitor != NULL)
            monitor->ShowFigures();
    }
    handled = FALSE;
    return 0;
}

static void* StoreMonitorCounters(InterfaceMonitor* monitor, void* document)
{
    monitor->StoreCounters(*(IniDocument*)document);
    monitor->SaveWanted = 0;
    return NULL;
}

static void FillEverything(IniDocument& document, void* mainWindow)
{
    Settings.StoreSection(document);
    ((MainWindow*)mainWindow)->ForEachMonitor(StoreMonitorCounters, &document);
    ((MainWindow*)mainWindow)->WriteHistoryInto(document);
    ((MainWindow*)mainWindow)->WriteForecastInto(document);
}

int MainWindow::SaveAllCounters()
{
    LastSaveCycle = CycleCount;
    if (Settings.SaveIni(FillEverything, this)) {
        History.Unsaved = 0;
        return 1;
    }
    ReportSaveFailure(Settings.LastSaveError, IniPath);
    return 0;
}

void MainWindow::ReportSaveFailure(DWORD error, const char* path)
{
    // Once a run: the counts stay in memory and every later save tries again.
    if (SaveFailureReported)
        return;
    SaveFailureReported = 1;
    char reason[SHORT_TEXT * 4];
    FormatSystemError(error, reason, sizeof(reason));
    EventLog.WriteLine("The counters could not be saved to %s: %s\r\n", path, reason);
    char text[sizeof(((NOTIFYICONDATAA*)NULL)->szInfo)];
    BoundedPrint(text, sizeof(text), "%s could not be written: %s", path, reason);
    SendBalloon(NULL, NIIF_ERROR, "Brisvane cannot save its counts", text);
}

void MainWindow::ReportLogFailures()
{
    // Lines that waited for a held log file go as soon as it is free again.
    EventLog.WriteWaiting();
    TrafficLog.WriteWaiting();
    LogChannel* channels[] = {&EventLog, &TrafficLog};
    for (LogChannel* channel : channels) {
        DWORD error;
        // Once a run, as a failed save: the lines wait in memory and are written later.
        if (!channel->TakeFailureToTell(&error) || LogFailureReported)
            continue;
        LogFailureReported = 1;
        char reason[SHORT_TEXT * 4];
        FormatSystemError(error, reason, sizeof(reason));
        EventLog.WriteLine("The log %s could not be written: %s\r\n", channel->Path, reason);
        char text[sizeof(((NOTIFYICONDATAA*)NULL)->szInfo)];
        BoundedPrint(text, sizeof(text), "%s could not be written: %s", channel->Path, reason);
        SendBalloon(NULL, NIIF_ERROR, "Brisvane cannot write its log", text);
    }
}

static void* PrimeMonitor(InterfaceMonitor* monitor, void*)
{
    monitor->PrimeNextSample();
    return NULL;
}

LRESULT MainWindow::OnPowerBroadcast(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    switch (wParam) {
    case PBT_APMSUSPEND:
        // The machine may never wake: what was counted must be on disk first.
        SaveAllCounters();
        break;
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND:
        // Adapters may have started their counters again while asleep; whatever they show now
        // is no traffic of the time since the last row.
        ForEachMonitor(PrimeMonitor, NULL);
        break;
    default:
        break;
    }
    return TRUE;
}

LRESULT MainWindow::OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&)
{
    // Windows may end the process without another word: what was counted goes to disk now.
    SaveAllCounters();
    return TRUE;
}

LRESULT MainWindow::OnEndSession(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    // FALSE: the logoff was cancelled and the session goes on, and so does the counting.
    if (wParam)
        Shutdown();
    return 0;
}

LRESULT MainWindow::OnClose(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (IsWindowVisible(Window)) {
        ShowWindow(Window, SW_HIDE);
        return 0;
    }
    Shutdown();
    handled = FALSE;  // the default procedure destroys the window
    return 0;
}

void MainWindow::WriteHistoryInto(IniDocument& document)
{
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int today;
    // Once a day: the days that have ended go into the history file. Should that fail they
    // stay among the running figures, in the INI file, and are tried again at the next save.
    if (SampleDay(&now, &today) && History.HasFinishedDays(today)) {
        char path[PATH_CHARS];
        if (HistoryPathFor(IniPath, path, sizeof(path)) && !History.FinishDays(today, path))
            ReportSaveFailure(History.LastError, path);
    }
    WriteTodayFigures(History, document);
}
