// The frame window: tool bar, one tab and page per adapter, DPI and place, the tray icon, the
// speed views, commands and keys. The counting is its TrafficMeter's; the frame shows what the
// meter tells it.
#ifndef BRISVANE_MAINWINDOW_H
#define BRISVANE_MAINWINDOW_H

#include <windows.h>
#include <commctrl.h>

#include "HistoryWindow.h"
#include "OwnedHandle.h"
#include "PageLook.h"
#include "Palette.h"
#include "SpeedViews.h"
#include "TabControlLook.h"
#include "TabLook.h"
#include "TabStrip.h"
#include "TrafficMeter.h"
#include "TrayIcon.h"
#include "TrayTexts.h"
#include "WindowObject.h"
#include "resource.h"

constexpr wchar_t MainWindowClass[] = L"BrisvaneAtl_class";
constexpr DWORD MainWindowStyle =
    (WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX)) | WS_CLIPCHILDREN;
// The frame's timers; the tray icon's click timer is TRAY_CLICK_TIMER_ID.
constexpr UINT_PTR PollTimerId = 1;
constexpr UINT_PTR FrontTimerId = 3;  // brings the close question to the front once it shows

class MainWindow : public WindowObject, private MeterEvents {
public:
    MainWindow();

    BEGIN_MSG_MAP(MainWindow)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_QUERYENDSESSION, OnQueryEndSession)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
        MESSAGE_HANDLER(WM_POWERBROADCAST, OnPowerBroadcast)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(TRAY_CALLBACK_MESSAGE, OnTrayNotify)
        MESSAGE_HANDLER(TaskbarCreatedMessage, OnTaskbarCreated)
        MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
        MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
        MESSAGE_HANDLER(SPEED_WINDOW_MESSAGE, OnSpeedWindowRequest)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(WM_SETTINGCHANGE, OnLookChange)
        MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnLookChange)
        MESSAGE_HANDLER(WM_THEMECHANGED, OnLookChange)
        NOTIFY_HANDLER(IDC_TOOLBAR, NM_CUSTOMDRAW, OnToolBarDraw)
        COMMAND_RANGE_HANDLER(ID_APP_ABOUT, ID_TRAY_ADAPTERS, OnCommand)
        COMMAND_RANGE_HANDLER(ID_SPEED_TRAY_PROGRAM, ID_SPEED_PHYSICAL_ONLY, OnSpeedCommand)
        COMMAND_RANGE_HANDLER(ID_TAB_HIDE, ID_TAB_COUNTINALL, OnTabCommand)
        NOTIFY_HANDLER(IDC_TABCONTROL, NM_RCLICK, OnTabRightClick)
        NOTIFY_HANDLER(IDC_TABCONTROL, TCN_SELCHANGING, OnSelChanging)
        NOTIFY_HANDLER(IDC_TABCONTROL, TCN_SELCHANGE, OnSelChange)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOW, OnToolTipText)
    END_MSG_MAP()

    void OnLastMessage(HWND window) override;
    // The end of the session, once: the meter saves and logs its stop lines, the pages and
    // the tray icon go.
    void Shutdown();
    // The window's accelerator keys; true when the message was one.
    bool TranslateKeys(MSG* message);
    // The selected page and the open history window take their dialog keys (Tab between
    // fields, Esc, the arrows in a list); true when one took the message.
    bool TakeDialogKeys(MSG* message);

private:
    friend struct MainWindowProbe;  // tests reach the private state through this

    // MeterEvents
    bool AdapterAdded(InterfaceMonitor& monitor, int position) override;
    void AdapterRelabelled(InterfaceMonitor& monitor) override;
    void AdapterPresenceChanged(InterfaceMonitor& monitor) override;
    void AlertCrossed(InterfaceMonitor& monitor, const AlertNotice& notice) override;
    void WarningDue(InterfaceMonitor& monitor, const PeriodForecast& forecast,
                    const LimitPick& pick) override;
    void SaveFailed(DWORD error, const char* path) override;
    void LogFailed(DWORD error, const char* path) override;
    void FillSave(IniDocument& document) override;

    // The frame (MainWindow.cpp, MainPlace.cpp)
    // One tick of the meter, then the pages, the tray and the title.
    void RunCycle(IniDocument* loaded);
    bool CreateToolBar();
    void FitCurrentPage(bool focus);
    void ApplyDpi(UINT dpi);  // fonts, tool bar images and icons for the DPI
    SIZE ClientSizeForPage();
    void FitToPage();  // the window as big as its page, its top left corner kept
    void RestorePlace(IniDocument& document);
    void UpdateTrayAndTitle();
    // The look the system and the INI file's choice ask for, on every window (MainLook.cpp).
    void ApplyLook();
    void TrayTip(char* tip, size_t size);  // the tip the tray icon should carry now
    HICON FeedSpeedViews(InterfaceMonitor* selected);  // the icon the tray should show
    // Commands (MainCommands.cpp, KeyboardCommands.cpp)
    void ShowMainWindow();  // restored if it was minimised, in front
    void OpenTrayMenu(POINT at);
    // A balloon from the tray icon, its title one of the program's texts; clicking it shows the
    // adapter's tab (none: the window).
    void SendBalloon(InterfaceMonitor* monitor, DWORD icon, UINT title, const char* text);
    void SendTextBalloon(InterfaceMonitor* monitor, DWORD icon, UINT title, UINT text);
    void OnBalloonClick();
    // The history window's links, with the tabs' names of the adapters.
    HistoryLinks LinksForHistory();
    void RunSettings();
    void RunAbout();
    void AskToClose();
    void AddKeyboardCommands();
    void ShowTab(int position);  // selects, shows and focuses a tab as a click on it does
    // Adapters with and without tabs (AdapterCommands.cpp)
    // The adapter's tab where the meter's order puts it among the shown ones; showFirst: a tab
    // at the first place is selected (a new adapter), else only when none is.
    bool AddTab(InterfaceMonitor& monitor, bool showFirst);
    int TabPositionFor(const InterfaceMonitor& monitor) const;
    void ShowAdapter(InterfaceMonitor& monitor);
    // False for the last adapter with a tab, which keeps it.
    bool HideAdapter(InterfaceMonitor& monitor);
    void SetCountsInAll(InterfaceMonitor& monitor, bool counts);
    // Every adapter hidden (by hand in the INI file): all of them are shown.
    void ShowAllWhenAllHidden();
    void AdaptersChanged();  // saved at once, and the history's sums again
    void OpenTabMenu(int position, POINT at);
    void RunAdapters();

    HWND TabControl = nullptr;
    HWND ToolBar = nullptr;
    TrayIcon Tray;
    OwnedBrush AlertBrushOwned;  // the red of the pages' alert text while the window lives
    bool ShutdownDone = false;
    UINT TaskbarCreatedMessage;
    char ShownTitle[64] = "";
    InterfaceMonitor* BalloonMonitor = nullptr;  // the adapter of the last balloon
    HACCEL Accelerators = nullptr;
    bool CommandDialogOpen = false;  // the settings or about dialog is open
    UINT Dpi;                        // the DPI the window is laid out for
    OwnedFont TabFont;
    OwnedFont PageFont;  // the pages' font after a DPI change (till then the dialogs' own)
    OwnedImageList ToolBarImages;
    OwnedIcon SmallIcon;
    OwnedIcon BigIcon;
    bool TrayNoticeShown = false;  // the first close to the tray was told (kept in the INI)
    TrafficMeter Meter;            // every adapter's counter; outlives the pages
    TabStrip Tabs;                 // the adapters' tabs and pages
    HistoryWindow HistoryView;     // open while its Window is not null
    SpeedViews Speed;              // the speed in the tray icon and the speed window
    TabTips TabTipText;            // the tabs' tips: each adapter's description and status
    ThemeChoice Theme = ThemeFollowsSystem;  // [Appearance] Theme
    PageLook PagesLook;  // the colours of that look: the pages', and every window's controls'
    TabControlLook TabsLook;                 // the tab strip in them

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnShowWindow(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPowerBroadcast(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTrayNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSpeedWindowRequest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLookChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnToolBarDraw(int, NMHDR* header, BOOL&);
    LRESULT OnCommand(WORD, WORD id, HWND, BOOL&);
    LRESULT OnSpeedCommand(WORD, WORD id, HWND, BOOL&);
    LRESULT OnTabCommand(WORD, WORD id, HWND, BOOL&);
    LRESULT OnContextMenu(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnTabRightClick(int, NMHDR*, BOOL&);
    LRESULT OnSelChanging(int, NMHDR*, BOOL&);
    LRESULT OnSelChange(int, NMHDR*, BOOL&);
    LRESULT OnToolTipText(int, NMHDR* header, BOOL&);
};

#endif
