// The frame window: tool bar, tab strip with one page per adapter, the poll cycle, commands,
// session and power events, and shutdown. The tray icon is a TrayIcon it holds.
#ifndef BRISVANE_MAINWINDOW_H
#define BRISVANE_MAINWINDOW_H

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>
#include <shellapi.h>

#include "InterfaceRow.h"
#include "HistoryWindow.h"
#include "SettingsDialog.h"
#include "TabStrip.h"
#include "TrayIcon.h"
#include "ForecastKeeper.h"
#include "HistoryLink.h"
#include "DpiLayout.h"
#include "SpeedViews.h"
#include "OwnedHandle.h"
#include "WindowPlace.h"
#include "WindowObject.h"
#include "resource.h"

#define MAIN_WINDOW_CLASS L"BrisvaneAtl_class"
#define MAIN_WINDOW_STYLE \
    ((WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX)) | WS_CLIPCHILDREN)
#define POLL_TIMER_ID 1
// Brings the close question to the front once it shows.
#define FRONT_TIMER_ID 3
// The tray tip with the forecast's line: the room of the tray's record.
#define FULL_TIP_CHARS sizeof(((NOTIFYICONDATAA*)NULL)->szTip)
// The main window's own section of the INI file: its place, and whether the first close has
// been told.
#define MAIN_WINDOW_SECTION "MainWindow"
#define TRAY_NOTICE_KEY "TrayNoticeShown"
// The balloon of the first close to the tray.
#define TRAY_NOTICE_TITLE "Brisvane is still counting"
#define TRAY_NOTICE_TEXT \
    "It goes on in the tray. To end it, right-click the tray icon and choose Close."

class InterfaceMonitor;

typedef void* (*MonitorCallback)(InterfaceMonitor* monitor, void* argument);

class MainWindow : public WindowObject {
public:
    MainWindow();

    BEGIN_MSG_MAP(MainWindow)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
        MESSAGE_HANDLER(WM_QUERYENDSESSION, OnQueryEndSession)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
        MESSAGE_HANDLER(WM_POWERBROADCAST, OnPowerBroadcast)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(TRAY_CALLBACK_MESSAGE, OnTrayNotify)
        MESSAGE_HANDLER(TaskbarCreatedMessage, OnTaskbarCreated)
        MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
        MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
        COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAboutCommand)
        COMMAND_ID_HANDLER(ID_APP_SETTINGS, OnSettingsCommand)
        COMMAND_ID_HANDLER(ID_TRAY_SHOWHIDE, OnShowHide)
        COMMAND_ID_HANDLER(ID_TRAY_CLOSE, OnCloseCommand)
        COMMAND_ID_HANDLER(ID_APP_HISTORY, OnHistoryCommand)
        NOTIFY_HANDLER(ID_APP_HISTORY, TTN_GETDISPINFOW, OnToolTipText)
        COMMAND_ID_HANDLER(ID_TRAY_STARTWITHWINDOWS, OnStartWithWindows)
        COMMAND_ID_HANDLER(ID_TRAY_FORECASTWARN, OnForecastWarnCommand)
        COMMAND_ID_HANDLER(ID_NEXT_TAB, OnStepTab)
        COMMAND_ID_HANDLER(ID_PREVIOUS_TAB, OnStepTab)
        NOTIFY_HANDLER(IDC_TABCONTROL, TCN_SELCHANGING, OnSelChanging)
        NOTIFY_HANDLER(IDC_TABCONTROL, TCN_SELCHANGE, OnSelChange)
        NOTIFY_HANDLER(ID_APP_SETTINGS, TTN_GETDISPINFOW, OnToolTipText)
        NOTIFY_HANDLER(ID_APP_ABOUT, TTN_GETDISPINFOW, OnToolTipText)
        MESSAGE_HANDLER(SPEED_WINDOW_MESSAGE, OnSpeedWindowRequest)
        MESSAGE_HANDLER(WM_COMMAND, OnSpeedCommand)
    END_MSG_MAP()

    void OnLastMessage(HWND window) override;

    // The poll cycle, run once at creation and at every tick.
    LRESULT PollCycle();
    // Visits the monitors in tab order; the first non-null result ends the visit.
    void* ForEachMonitor(MonitorCallback callback, void* argument);
    // The monitor of the selected tab, or null.
    InterfaceMonitor* SelectedMonitor();
    // The tab strip over TabControl.
    TabStrip Tabs() const { return TabStrip(TabControl); }
    void Shutdown();
    // Writes the settings and every monitor's counters into the INI file in one new file and
    // one replace. 1 when saved; a failure is reported once a run.
    int SaveAllCounters();
    // After the settings dialog's OK: a requested reset reaches every monitor, with one line.
    void ApplySettingsRequest(const SettingsRequest& request);
    // The usage history's part of the save of every adapter: finished days go into the history
    // file, the running figures into the document of the INI file.
    void WriteHistoryInto(IniDocument& document);
    // The early warning's switch and mark, into the same document.
    void WriteForecastInto(IniDocument& document) { StoreForecastState(document, Forecasts.Warning); }
    // The window's section: its place in 96-DPI units and whether the first close was told.
    void WritePlaceInto(IniDocument& document);

    // DPI (MainWindow.cpp)
    // The DPI the window is laid out for.
    UINT LayoutDpi() const { return Dpi; }
    // The client size that holds the tool bar, the tabs and a page at the layout DPI.
    SIZE ClientSizeForPage();
    // The history window's links, with the tabs' names of the adapters.
    HistoryLinks LinksForHistory();
    // The speed views' choices and the speed window's place, into the same document.
    void WriteSpeedViewsInto(IniDocument& document) { Speed.Store(document); }

    // A balloon when the monitor's alert turned on since the last look; run after its refresh.
    void NoticeAlertCrossing(InterfaceMonitor* monitor);

    // Keyboard (KeyboardCommands.cpp)
    // Handles the window's accelerator keys; 1 when the message was one.
    int TranslateKeys(MSG* message);
    // The selected page and the open history window take their dialog keys (Tab between
    // fields, Esc, the arrows in a list); 1 when one took the message.
    int TakeDialogKeys(MSG* message);

private:
    // Tests reach the private state through this, and only they define it.
    friend struct MainWindowProbe;

    // The frame (MainWindow.cpp)
    void FitCurrentPage(BOOL focus);
    // Fonts, tool bar images and icons for the DPI.
    void ApplyDpi(UINT dpi);
    // The window as big as its page, its top left corner kept.
    void FitToPage();
    // The saved place brought back onto a work area, else the window centred on the primary
    // one.
    void RestorePlace();
    void ReportSaveFailure(DWORD error, const char* path);
    void ReportLogFailures();

    // The poll cycle (PollCycle.cpp)
    InterfaceMonitor* MonitorOfRow(const InterfaceRow* row, const char* ipv4Text, DWORD position);
    InterfaceMonitor* AddMonitor(const InterfaceRow* row, const char* ipv4Text, DWORD position,
                                 int namedByInterface);
    void RememberFailedAdapter(const InterfaceRow* row);
    int AdapterWaitsAfterFailure(const InterfaceRow* row);
    void UpdateTrayAndTitle();
    // The tip the tray icon should carry now.
    void FormatTrayTip(InterfaceMonitor* monitor, char* tip, size_t size);

    // The period forecast (ForecastCycle.cpp)
    // Once a minute, or when the day or the history file changed: every adapter's forecast,
    // and the early warning where one is due.
    void UpdateForecasts(const SYSTEMTIME& now, int today);
    void WarnOfForecast(InterfaceMonitor* monitor, const PeriodForecast& forecast,
                        const LimitPick& pick);
    // Adds the forecast's line to the tray tip when the whole line fits.
    void AppendForecastTip(InterfaceMonitor* monitor, char* tip, size_t size);
    void CheckForecastMenuItem();
    // The speed views (MainSpeedViews.cpp)
    // Feeds them this cycle's figures; the icon the tray should show.
    HICON FeedSpeedViews(InterfaceMonitor* selected);

    // Commands (MainCommands.cpp)
    // Shows the window, restored if it was minimised, in front.
    void ShowMainWindow();
    void OpenTrayMenu(POINT at);
    // A balloon from the tray icon; clicking it shows the monitor's tab (none: the window).
    void SendBalloon(InterfaceMonitor* monitor, DWORD icon, const char* title, const char* text);
    void OnBalloonClick();

    // Keyboard (KeyboardCommands.cpp)
    // The system menu's items and the accelerators; run at creation.
    void AddKeyboardCommands();
    // Selects, shows and focuses the page at a tab position, as a click on its tab does.
    void ShowTab(int position);

    HWND TabControl;
    HWND ToolBar;
    TrayIcon Tray;
    // The red of the pages' alert text, theirs to use while the window lives.
    OwnedBrush AlertBrushOwned;
    int PollBusy;
    int ShutdownDone;
    UINT TaskbarCreatedMessage;
    char ShownTitle[64];
    // The adapter of the last alert balloon: clicking the balloon shows its tab.
    InterfaceMonitor* BalloonMonitor;
    HACCEL Accelerators;
    // 1 while the settings or about dialog is open, so the tray menu cannot open a second.
    int CommandDialogOpen;

    // Adapters whose page or tab could not be made wait this many cycles before the next try,
    // so that a failing adapter does not cost a page and a log line every second.
    enum { FailedAdapterSlots = 8, FailedAdapterRetryCycles = 60 };
    struct FailedAdapter {
        InterfaceRow Identity;  // only what tells adapters apart is used
        DWORD RetryCycle;
        int Used;
    };
    FailedAdapter FailedAdapters[FailedAdapterSlots];
    DWORD CycleCount;
    // Cycles between two saves of every adapter's counters (about a minute), so that a killed
    // process loses little.
    enum { SaveEveryCycles = 60 };
    DWORD LastSaveCycle;
    int SaveFailureReported;
    int LogFailureReported;
    ULONG IfTableSize;  // what the last read of the 32-bit interface table needed

    // What the window is drawn with at its DPI.
    UINT Dpi;
    OwnedFont TabFont;
    OwnedFont PageFont;  // the pages' font after a DPI change (till then the dialogs' own)
    OwnedImageList ToolBarImages;
    OwnedIcon SmallIcon;
    OwnedIcon BigIcon;
    // The first close to the tray was told with a balloon (kept in the INI file).
    int TrayNoticeShown;

    UsageHistory History;       // the bytes of each adapter and day, kept by the poll cycle
    HistoryWindow HistoryView;  // open while its Window is not null
    ForecastKeeper Forecasts;   // the period forecasts and the early warning's state
    SpeedViews Speed;           // the speed in the tray icon and the speed window

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnShowWindow(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPowerBroadcast(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTrayNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAboutCommand(WORD, WORD, HWND, BOOL&);
    LRESULT OnSettingsCommand(WORD, WORD, HWND, BOOL&);
    LRESULT OnShowHide(WORD, WORD, HWND, BOOL&);
    LRESULT OnCloseCommand(WORD, WORD, HWND, BOOL&);
    LRESULT OnHistoryCommand(WORD, WORD, HWND, BOOL&);
    LRESULT OnStartWithWindows(WORD, WORD, HWND, BOOL&);
    LRESULT OnForecastWarnCommand(WORD, WORD, HWND, BOOL&);
    LRESULT OnStepTab(WORD, WORD id, HWND, BOOL&);
    LRESULT OnSelChanging(int, NMHDR*, BOOL&);
    LRESULT OnSelChange(int, NMHDR*, BOOL&);
    LRESULT OnToolTipText(int, NMHDR* header, BOOL&);
    LRESULT OnSpeedWindowRequest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSpeedCommand(UINT, WPARAM, LPARAM, BOOL&);
};

#endif
