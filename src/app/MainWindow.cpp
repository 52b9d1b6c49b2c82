#include "MainWindow.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "InterfaceMonitor.h"
#include "LogChannel.h"
#include "Platform.h"
#include "ResetSchedule.h"
#include "RunningFigures.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "Utf8Text.h"

#define TOOLBAR_RESOURCE_TYPE 241
#define TAB_CONTROL_STYLE (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_FOCUSONBUTTONDOWN)
#define TOOL_BAR_STYLE (WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS)
#define POLL_PERIOD_MS 1000
#define ALERT_BRUSH_COLOUR RGB(255, 0, 0)

MainWindow::MainWindow()
    : TabControl(NULL), ToolBar(NULL), PollBusy(0), ShutdownDone(0),
      TaskbarCreatedMessage(RegisterWindowMessageW(L"TaskbarCreated")), ShownTitle(),
      BalloonMonitor(NULL), Accelerators(NULL), CommandDialogOpen(0), FailedAdapters(),
      CycleCount(0), LastSaveCycle(0), SaveFailureReported(0), LogFailureReported(0),
      IfTableSize(0), Dpi(BaseDpi), TrayNoticeShown(0)
{
}

void MainWindow::OnLastMessage(HWND)
{
    PostQuitMessage(0);
}

// Adds the tool bar's buttons from the tool bar resource; their images come from the image
// list of the DPI. 0 on failure.
static int AddToolBarButtons(HWND toolBar)
{
    HRSRC found = FindResourceW(WindowModule.Instance, MAKEINTRESOURCEW(IDR_TOOLBAR),
                                MAKEINTRESOURCEW(TOOLBAR_RESOURCE_TYPE));
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
        if (!SendMessageW(toolBar, TB_ADDBUTTONSW, 1, (LPARAM)&button))
            return 0;
    }
    return images > 0;
}

// The tool bar's strip for the DPI as an image list of square images; null on failure.
static HIMAGELIST LoadToolBarImages(UINT dpi)
{
    int size = ToolBarImageSizeFor(dpi);
    int id = size == ToolBarImageSizes[0] ? IDB_TOOLBAR16
             : size == ToolBarImageSizes[1] ? IDB_TOOLBAR24
                                            : IDB_TOOLBAR32;
    // A DIB section keeps the strip's alpha, which the image list blends.
    OwnedBitmap strip((HBITMAP)LoadImageW(WindowModule.Instance, MAKEINTRESOURCEW(id),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip)
        return NULL;
    BITMAP info;
    if (!GetObjectW(strip.Get(), sizeof(info), &info) || info.bmHeight != size)
        return NULL;
    OwnedImageList images(ImageList_Create(size, size, ILC_COLOR32, info.bmWidth / size, 0));
    if (!images || ImageList_Add(images.Get(), strip.Get(), NULL) < 0)
        return NULL;
    return images.Release();
}

void MainWindow::ApplyDpi(UINT dpi)
{
    Dpi = dpi;
    const DpiFunctions& functions = SystemDpiFunctions();
    HFONT font = CreateDialogFont(dpi);
    if (font != NULL) {
        SendMessageW(TabControl, WM_SETFONT, (WPARAM)font, TRUE);
        TabFont.Reset(font);  // after the tabs let the old one go
    }
    HIMAGELIST images = LoadToolBarImages(dpi);
    if (images != NULL) {
        SendMessageW(ToolBar, TB_SETIMAGELIST, 0, (LPARAM)images);
        ToolBarImages.Reset(images);
        SendMessageW(ToolBar, TB_AUTOSIZE, 0, 0);
    }
    // The caption's and the task switcher's icons, each at its own size for this DPI.
    SetWindowIconsForDpi(functions, Window, WindowModule.Instance, IDI_PROGRAM, dpi, &SmallIcon,
                         &BigIcon);
}

SIZE MainWindow::ClientSizeForPage()
{
    // The adapter page's template in dialog units.
    enum { PageWidthUnits = 317, PageHeightUnits = 157 };
    OwnedFont font(CreateDialogFont(Dpi));
    SIZE units = DialogBaseUnitsOf(font.Get());
    RECT tabs = {0, 0, DialogUnitsToPixelsX(PageWidthUnits, units),
                 DialogUnitsToPixelsY(PageHeightUnits, units)};
    SendMessageW(TabControl, TCM_ADJUSTRECT, TRUE, (LPARAM)&tabs);
    RECT bar;
    GetWindowRect(ToolBar, &bar);
    SIZE size = {tabs.right - tabs.left, tabs.bottom - tabs.top + (bar.bottom - bar.top)};
    return size;
}

// The window's size around a client size, with the frame it has now (which Windows has already
// drawn for the new DPI when the DPI changes).
static SIZE FrameAround(HWND window, SIZE client)
{
    RECT frame, inside;
    GetWindowRect(window, &frame);
    GetClientRect(window, &inside);
    SIZE size = {client.cx + (frame.right - frame.left) - inside.right,
                 client.cy + (frame.bottom - frame.top) - inside.bottom};
    return size;
}

void MainWindow::FitToPage()
{
    SIZE size = FrameAround(Window, ClientSizeForPage());
    SetWindowPos(Window, NULL, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::RestorePlace()
{
    const DpiFunctions& functions = SystemDpiFunctions();
    enum { MaxWorkAreas = 16 };
    WorkArea areas[MaxWorkAreas];
    size_t count = CollectWorkAreas(functions, areas, MaxWorkAreas);
    UINT systemDpi = DpiForSystem(functions);
    SIZE size = FrameAround(Window, ClientSizeForPage());

    char texts[PlaceKeyCount][16];
    const char* values[PlaceKeyCount];
    for (int i = 0; i < PlaceKeyCount; i++) {
        Settings.ReadIniText(MAIN_WINDOW_SECTION, PlaceKeys[i], "", texts[i], sizeof(texts[i]));
        values[i] = texts[i];
    }
    TrayNoticeShown = Settings.ReadIniInt(MAIN_WINDOW_SECTION, TRAY_NOTICE_KEY, 0) != 0;
    WindowPlace place;
    RECT target;
    if (IniPath[0] != 0 && ParseWindowPlace(values, &place)) {
        // The window is as big as its page: the saved size only stands for what has to be
        // reachable.
        place.Width = UnscaleForDpi(size.cx, Dpi);
        place.Height = UnscaleForDpi(size.cy, Dpi);
        target = PlaceOnWorkArea(place, systemDpi, areas, count);
    } else if (count > 0) {
        // A first start: in the middle of the primary work area.
        const RECT& area = areas[0].Area;
        int left = area.left + (area.right - area.left - size.cx) / 2;
        int top = area.top + (area.bottom - area.top - size.cy) / 2;
        target.left = left > area.left ? left : area.left;
        target.top = top > area.top ? top : area.top;
        target.right = target.left + size.cx;
        target.bottom = target.top + size.cy;
    } else {
        return;
    }
    SetWindowPos(Window, NULL, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // On a monitor of another DPI the window has been laid out again meanwhile.
    FitToPage();
}

void MainWindow::WritePlaceInto(IniDocument& document)
{
    RECT rect;
    if (Window == NULL || !NormalWindowRect(Window, &rect))
        return;
    const DpiFunctions& functions = SystemDpiFunctions();
    WindowPlaceText text = FormatWindowPlace(PlaceOfWindow(rect, DpiForSystem(functions), Dpi));
    for (int i = 0; i < PlaceKeyCount; i++)
        document.Set(MAIN_WINDOW_SECTION, PlaceKeys[i], text.Values[i]);
    if (TrayNoticeShown)
        document.Set(MAIN_WINDOW_SECTION, TRAY_NOTICE_KEY, "1");
}

// The pages' part of a DPI change.
struct PageDpiChange {
    SIZE From;  // dialog base units
    SIZE To;
    HFONT Font;
};

static void* ScalePage(InterfaceMonitor* monitor, void* change)
{
    const PageDpiChange* pages = (const PageDpiChange*)change;
    if (monitor->Window != NULL)
        ScaleChildren(monitor->Window, pages->From, pages->To, pages->Font);
    return NULL;
}

LRESULT MainWindow::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    UINT dpi = HIWORD(wParam);
    const RECT* suggested = (const RECT*)lParam;
    if (dpi == 0 || suggested == NULL)
        return 0;
    OwnedFont oldFont(CreateDialogFont(Dpi));
    PageDpiChange change = {DialogBaseUnitsOf(oldFont.Get()), {0, 0}, CreateDialogFont(dpi)};
    change.To = DialogBaseUnitsOf(change.Font);
    ApplyDpi(dpi);
    // The pages' controls, laid out by the dialog manager for the old DPI, follow.
    if (change.Font != NULL) {
        ForEachMonitor(ScalePage, &change);
        PageFont.Reset(change.Font);
    }
    Tray.ReloadIcons();
    // Windows' rectangle for the new DPI; then the size of the page at that DPI.
    SetWindowPos(Window, NULL, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitToPage();
    return 0;
}

LRESULT MainWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    TabControl = CreateWindowExW(0, WC_TABCONTROLW, NULL, TAB_CONTROL_STYLE, 0, 0, 0, 0, Window,
                                 (HMENU)(UINT_PTR)IDC_TABCONTROL, WindowModule.Instance, NULL);
    if (TabControl == NULL)
        return -1;

    ToolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, NULL, TOOL_BAR_STYLE, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window,
                              (HMENU)(UINT_PTR)IDC_TOOLBAR, WindowModule.Instance, NULL);
    if (ToolBar == NULL)
        return -1;
    SendMessageW(ToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (!AddToolBarButtons(ToolBar))
        return -1;
    ApplyDpi(DpiForWindow(SystemDpiFunctions(), Window));

    Settings.Load();
    ReadTodayFigures(History, IniPath);
    ReadForecastState(IniPath, &Forecasts.Warning);
    // A tray that is not ready yet is tried again at every cycle.
    Tray.Create(Window, WindowModule.Instance, "Brisvane");
    Speed.Start(Window, IniPath);

    AlertBrushOwned.Reset(CreateSolidBrush(ALERT_BRUSH_COLOUR));
    AlertBrush = AlertBrushOwned.Get();
    PollCycle();
    // Once the first tabs are there, so that their row counts in the window's size.
    RestorePlace();
    // Without the timer nothing would be counted: the window is not made.
    if (SetTimer(Window, POLL_TIMER_ID, POLL_PERIOD_MS, NULL) == 0) {
        char reason[SHORT_TEXT * 4];
        FormatSystemError(GetLastError(), reason, sizeof(reason));
        EventLog.WriteLine("The poll timer could not be started: %s\r\n", reason);
        Shutdown();
        MessageBoxW(NULL, L"Brisvane cannot start its timer and does not run.", L"Brisvane",
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
    SendMessageW(TabControl, TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
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
    Speed.Stop();
    SendMessageW(TabControl, WM_CLOSE, 0, 0);
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
        // Once ever: a new user would take the hidden window for the end of the program.
        if (!TrayNoticeShown && !ShutdownDone) {
            TrayNoticeShown = 1;
            SendBalloon(NULL, NIIF_INFO, TRAY_NOTICE_TITLE, TRAY_NOTICE_TEXT);
            SaveAllCounters();
        }
        return 0;
    }
    Shutdown();
    handled = FALSE;  // the default procedure destroys the window
    return 0;
}
