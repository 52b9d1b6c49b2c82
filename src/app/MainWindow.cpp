// The frame's life: creation with the one read of the INI file, the tick that drives the meter
// and then the pages, the tray and the title, the tabs, sleep, the end of the session and the
// meter's events.
#include "MainWindow.h"

#include <string.h>

#include "AllAdapters.h"
#include "AppearanceChoice.h"
#include "BoundedText.h"
#include "LanguageResources.h"
#include "LogChannel.h"
#include "Platform.h"
#include "Settings.h"
#include "StepTimer.h"
#include "SpeedViewChoices.h"
#include "Utf8Text.h"

namespace {

// Owner drawn, so that an adapter that is not connected has a faint tab; tips name the adapters.
constexpr DWORD TabControlStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_FOCUSONBUTTONDOWN |
                                  TCS_TOOLTIPS | TCS_OWNERDRAWFIXED;
constexpr UINT PollPeriodMs = 1000;
constexpr COLORREF AlertBrushColour = RGB(255, 0, 0);
// A balloon's text: the room of the tray's ANSI record.
constexpr size_t BalloonChars = 256;

}  // namespace

MainWindow::MainWindow()
    : TaskbarCreatedMessage(RegisterWindowMessageW(L"TaskbarCreated")), Dpi(BaseDpi),
      Meter(Settings, *this)
{
}

void MainWindow::OnLastMessage(HWND)
{
    PostQuitMessage(0);
}

LRESULT MainWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    TabControl = CreateWindowExW(0, WC_TABCONTROLW, NULL, TabControlStyle, 0, 0, 0, 0, Window,
                                 (HMENU)(UINT_PTR)IDC_TABCONTROL, WindowModule.Instance, NULL);
    if (TabControl == NULL)
        return -1;
    Tabs.Control = TabControl;
    Tabs.Look = &PagesLook;
    TabsLook.Colours = &PagesLook.Controls;
    TabsLook.SubclassWindow(TabControl);
    HistoryView.Colours = &PagesLook.Controls;
    TabTips::Prepare(TabControl);
    if (!CreateToolBar())
        return -1;
    ApplyDpi(DpiForWindow(SystemDpiFunctions(), Window));

    // One read of the INI file serves every loader of the start.
    IniDocument ini;
    LoadSettings(Settings, ini);
    Theme = ReadThemeChoice(ini);
    ApplyLook();
    Meter.Load(ini);
    // A tray that is not ready yet is tried again at every cycle.
    Tray.Create(Window, WindowModule.Instance, "Brisvane");
    Speed.Start(Window, ini);

    AlertBrushOwned.Reset(CreateSolidBrush(AlertBrushColour));
    AlertBrush = AlertBrushOwned.Get();
    RunCycle(&ini);
    // Once the first tabs are there, so that their row counts in the window's size.
    RestorePlace(ini);
    // Without the timer nothing would be counted: the window is not made.
    if (SetTimer(Window, PollTimerId, PollPeriodMs, NULL) == 0) {
        char reason[SHORT_TEXT * 4];
        FormatSystemError(GetLastError(), reason, sizeof(reason));
        EventLog.WriteLine("The poll timer could not be started: %s\r\n", reason);
        Shutdown();
        wchar_t message[TextMaxChars];
        LoadTextW(IDS_TIMER_FAILED, message, TextMaxChars);
        MessageBoxW(NULL, message, L"Brisvane", MB_OK | MB_ICONERROR);
        return -1;
    }
    AddKeyboardCommands();
    return 0;
}

LRESULT MainWindow::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (wParam == PollTimerId) {
        RunCycle(nullptr);
    } else if (wParam == TRAY_CLICK_TIMER_ID) {
        // The click did not become a double click.
        KillTimer(Window, TRAY_CLICK_TIMER_ID);
        POINT at;
        GetCursorPos(&at);
        OpenTrayMenu(at);
    } else {
        handled = FALSE;
    }
    return 0;
}

void MainWindow::RunCycle(IniDocument* loaded)
{
    if (ShutdownDone || Meter.Stopped())
        return;
    StepCycleBegin();
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    DWORD cycles = Meter.CycleCount();
    Meter.PollCycle(now, Platform.ReadTickCount(), loaded);
    // A cycle that read no table changed nothing to show.
    if (Meter.CycleCount() != cycles) {
        ShowAllWhenAllHidden();
        for (int position = 0; position < Tabs.Count(); position++)
            Tabs.PageAt(position)->Refresh();
        ShowTabStates(Tabs);
        StepLap(StepPages);
        UpdateTrayAndTitle();
        HistoryView.Refresh();
        StepLap(StepHistoryWindow);
    }
    StepCycleEnd();
}

void MainWindow::UpdateTrayAndTitle()
{
    InterfaceMonitor* monitor = Tabs.MonitorAt(Tabs.Selected());
    HICON icon = FeedSpeedViews(monitor);
    bool minimised = IsIconic(Window) != 0;
    char tip[FullTipChars] = "";
    if (minimised || Tray.WantsTip(icon))
        TrayTip(tip, sizeof(tip));
    StepLap(StepTipText);
    // An icon missing for long leaves a hidden program out of reach: its window shows.
    if (Tray.Cycle(icon, tip) && !IsWindowVisible(Window))
        ShowWindow(Window, SW_SHOWNOACTIVATE);
    Speed.DropReplacedIcon();
    StepLap(StepTrayHandOver);

    char title[sizeof(ShownTitle)];
    FormatTitle(monitor, minimised, title, sizeof(title));
    if (strcmp(ShownTitle, title) != 0) {
        SetWindowTextW(Window, WideText(title));
        CopyText(ShownTitle, sizeof(ShownTitle), title);
    }
    StepLap(StepTitle);
}

void MainWindow::TrayTip(char* tip, size_t size)
{
    InterfaceMonitor* monitor = Tabs.MonitorAt(Tabs.Selected());
    const PeriodForecast* forecast =
        monitor != nullptr ? Meter.LatestForecastOf(*monitor) : nullptr;
    FormatTrayTip(monitor, forecast, tip, size);
}

HICON MainWindow::FeedSpeedViews(InterfaceMonitor* selected)
{
    unsigned __int64 down = 0, up = 0;
    bool anyAlert = false;
    auto add = [&](const InterfaceMonitor& monitor) {
        // Gone from this cycle's table: its last speed stays on its page only.
        down += monitor.Present ? monitor.CurrentIn : 0;
        up += monitor.Present ? monitor.CurrentOut : 0;
        anyAlert |= monitor.AlertOn;
        return false;
    };
    // Traffic that crosses a virtual adapter and a physical one is added once.
    if (Speed.Choices().AllAdapters) {
        bool physicalOnly = Speed.Choices().PhysicalOnly != 0;
        bool anyCounted = Meter.AnyShownCountsInAll();
        Meter.ForEachMonitor([&](const InterfaceMonitor& monitor) {
            if (AddedToAllAdapters(!monitor.Hidden(), monitor.CountsInAll(), physicalOnly,
                                   anyCounted))
                add(monitor);
            return false;
        });
    } else if (selected != nullptr)
        add(*selected);
    // The program's icon keeps telling of the adapter on show, as it always has.
    bool shownAlert = selected != nullptr && selected->AlertOn;
    bool alert = Speed.Choices().TrayMode == SpeedTrayProgramIcon ? shownAlert : anyAlert;
    StepLap(StepSpeedFigures);
    return Speed.Cycle(down, up, alert, Tray.NormalIcon(), Tray.AlertIcon());
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
    FitCurrentPage(false);
    return 0;
}

void MainWindow::FitCurrentPage(bool focus)
{
    InterfacePage* page = Tabs.SelectedPage();
    if (page == nullptr || page->Window == NULL)
        return;
    page->ShowFigures();  // a page out of sight was not kept up to date
    RECT area;
    GetClientRect(TabControl, &area);
    SendMessageW(TabControl, TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
    SetWindowPos(page->Window, NULL, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_SHOWWINDOW | SWP_NOZORDER);
    if (focus)
        page->TakeFocus();
}

LRESULT MainWindow::OnSelChanging(int, NMHDR*, BOOL&)
{
    InterfacePage* page = Tabs.SelectedPage();
    if (page != nullptr && page->Window != NULL)
        ShowWindow(page->Window, SW_HIDE);
    return 0;
}

LRESULT MainWindow::OnSelChange(int, NMHDR*, BOOL&)
{
    FitCurrentPage(true);
    return 0;
}

void MainWindow::Shutdown()
{
    if (ShutdownDone)
        return;
    ShutdownDone = true;
    KillTimer(Window, PollTimerId);
    if (HistoryView.Window != NULL)
        DestroyWindow(HistoryView.Window);  // it keeps its place in the INI file
    // One save of the settings, every adapter's counters and the day's usage, then each
    // adapter's stop line; then the pages go with the tab strip.
    Meter.Stop();
    Speed.Stop();
    SendMessageW(TabControl, WM_CLOSE, 0, 0);
    Tabs.Clear();
    TabControl = NULL;
    Tabs.Control = NULL;
    AlertBrush = NULL;
    AlertBrushOwned.Reset();
    Tray.Remove();
}

LRESULT MainWindow::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    // Out of sight the pages were not written; the one on show catches up before it appears.
    if (wParam) {
        InterfacePage* page = Tabs.SelectedPage();
        if (page != nullptr)
            page->ShowFigures();
    } else if (IsChild(Window, GetFocus())) {
        // Out of sight, no control keeps the focus: its caret would blink there for nothing.
        SetFocus(NULL);
    }
    handled = FALSE;
    return 0;
}

LRESULT MainWindow::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&)
{
    // The frame itself takes no keys: the page on show does, as when its tab is chosen.
    InterfacePage* page = Tabs.SelectedPage();
    if (page != nullptr && page->Window != NULL && IsWindowVisible(page->Window))
        page->TakeFocus();
    return 0;
}

LRESULT MainWindow::OnPowerBroadcast(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    switch (wParam) {
    case PBT_APMSUSPEND:
        // The machine may never wake: what was counted must be on disk first.
        Meter.SaveAll();
        break;
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND:
        // Adapters may have started their counters again while asleep; whatever they show now
        // is no traffic of the time since the last row.
        Meter.PrimeAll();
        break;
    default:
        break;
    }
    return TRUE;
}

LRESULT MainWindow::OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&)
{
    // Windows may end the process without another word: what was counted goes to disk now.
    Meter.SaveAll();
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
        // Once ever: a new user would take the hidden window for the end of the program.
        if (!TrayNoticeShown && !ShutdownDone) {
            TrayNoticeShown = true;
            SendTextBalloon(nullptr, NIIF_INFO, IDS_TRAY_NOTICE_TITLE, IDS_TRAY_NOTICE_TEXT);
            Meter.SaveAll();
        }
        return 0;
    }
    Shutdown();
    handled = FALSE;  // the default procedure destroys the window
    return 0;
}

bool MainWindow::AdapterAdded(InterfaceMonitor& monitor, int)
{
    if (TabControl == NULL)
        return false;
    // A hidden adapter is counted as any other; it only has no tab.
    if (monitor.Hidden())
        return true;
    return AddTab(monitor, true);
}

bool MainWindow::AddTab(InterfaceMonitor& monitor, bool showFirst)
{
    int inserted = Tabs.Add(TabPositionFor(monitor), monitor);
    if (inserted < 0)
        return false;
    // The first tab brings the row of tabs, which the window makes room for.
    if (Tabs.Count() == 1)
        FitToPage();
    if ((inserted == 0 && showFirst) || Tabs.Selected() < 0) {
        InterfacePage* shown = Tabs.PageAt(Tabs.Selected());
        if (shown != nullptr && shown->Window != NULL)
            ShowWindow(shown->Window, SW_HIDE);
        Tabs.Select(inserted);
        FitCurrentPage(true);
    }
    return true;
}

void MainWindow::AdapterRelabelled(InterfaceMonitor& monitor)
{
    Tabs.Relabel(monitor);
}

void MainWindow::AdapterPresenceChanged(InterfaceMonitor&)
{
    ShowTabStates(Tabs);
}

LRESULT MainWindow::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    const DRAWITEMSTRUCT* item = (const DRAWITEMSTRUCT*)lParam;
    if (item->CtlType != ODT_TAB || item->hwndItem != TabControl) {
        handled = FALSE;
        return FALSE;
    }
    DrawTab(Tabs, *item);
    return TRUE;
}

void MainWindow::AlertCrossed(InterfaceMonitor& monitor, const AlertNotice& notice)
{
    char text[BalloonChars * 3];
    FormatAlertBalloon(monitor, notice, text, sizeof(text));
    SendBalloon(&monitor, NIIF_WARNING, IDS_ALERT_BALLOON_TITLE, text);
}

void MainWindow::WarningDue(InterfaceMonitor& monitor, const PeriodForecast& forecast,
                            const LimitPick& pick)
{
    char text[BalloonChars];
    FormatWarningBalloon(monitor, forecast, pick, text, sizeof(text));
    SendBalloon(&monitor, NIIF_WARNING, IDS_WARNING_TITLE, text);
}

void MainWindow::SaveFailed(DWORD error, const char* path)
{
    char text[BalloonChars * 3];
    FormatWriteFailure(path, error, text, sizeof(text));
    SendBalloon(nullptr, NIIF_ERROR, IDS_SAVE_FAILED_TITLE, text);
}

void MainWindow::LogFailed(DWORD error, const char* path)
{
    char text[BalloonChars * 3];
    FormatWriteFailure(path, error, text, sizeof(text));
    SendBalloon(nullptr, NIIF_ERROR, IDS_LOG_FAILED_TITLE, text);
}
