#include "TrayIcon.h"

#include <commctrl.h>
#include <string.h>
#include <windowsx.h>

#include "BoundedText.h"
#include "LanguageMenu.h"
#include "LanguageResources.h"
#include "LogChannel.h"
#include "PathSplit.h"
#include "Platform.h"
#include "SpeedIcon.h"
#include "SpeedViewChoices.h"
#include "TrayPlatform.h"
#include "StartWithWindows.h"
#include "Utf8Text.h"
#include "resource.h"

#define BALLOON_TIMEOUT_MS 10000

typedef HRESULT(WINAPI* LoadIconMetricFunction)(HINSTANCE, PCWSTR, int, HICON*);

// The size the tray expects of its record: the version-3 form, whatever this SDK's full size is.
DWORD TrayRecordSize()
{
#ifdef NOTIFYICONDATAW_V3_SIZE
    return NOTIFYICONDATAW_V3_SIZE;
#else
    return sizeof(NOTIFYICONDATAW);
#endif
}

// An icon resource at the tray's size. LoadIconMetric picks the best image for the scale (Vista
// and later); elsewhere the small-icon metric says the size.
static HICON LoadSmallIcon(HINSTANCE instance, WORD id)
{
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    LoadIconMetricFunction loadMetric =
        controls != NULL ? (LoadIconMetricFunction)(void*)GetProcAddress(controls, "LoadIconMetric")
                         : NULL;
    HICON icon = NULL;
    if (loadMetric != NULL && SUCCEEDED(loadMetric(instance, MAKEINTRESOURCEW(id), LIM_SMALL, &icon)))
        return icon;
    return (HICON)LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON,
                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                             LR_DEFAULTCOLOR);
}

TrayRequest ReadTrayEvent(WPARAM wParam, LPARAM lParam, int version4, POINT* at)
{
    UINT icon = version4 ? HIWORD(lParam) : (UINT)wParam;
    if (icon != TRAY_ICON_ID)
        return TrayNone;
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN:
        return version4 ? TrayNone : TrayClick;  // version 4 follows it with NIN_SELECT
    case NIN_SELECT:
        if (version4)
            return TrayClick;
        break;
    case WM_RBUTTONDOWN:
        if (version4)
            return TrayNone;  // WM_CONTEXTMENU follows: a menu now would open twice
        break;
    case WM_CONTEXTMENU:
    case NIN_KEYSELECT:
        if (version4) {
            at->x = GET_X_LPARAM(wParam);
            at->y = GET_Y_LPARAM(wParam);
            return TrayMenu;
        }
        break;
    case WM_LBUTTONDBLCLK:
        return TrayDoubleClick;
    case WM_MOUSEMOVE:
        return TrayTipSeen;
    case NIN_BALLOONUSERCLICK:
        return TrayBalloonClick;
    default:
        return TrayNone;
    }
    // The old form names no point: the menu opens where the cursor is.
    GetCursorPos(at);
    return TrayMenu;
}

TrayIcon::TrayIcon()
    : Window(NULL), Instance(NULL), IconLook(LookLight), IconSystem(), ShownIcon(NULL), Added(0),
      Removed(0), Version4(0), MissingCycles(0), FailureTold(0),
      TipCyclesLeft(0), DoubleClickTick(0)
{
}

void TrayIcon::Create(HWND window, HINSTANCE instance, const char* tip)
{
    Window = window;
    Instance = instance;
    MenuBar.Reset(LoadLanguageMenu(IDR_TRAYMENU));
    Normal.Reset(LoadLookIcon(false));
    Alert.Reset(LoadLookIcon(true));
    ShownIcon = Normal.Get();
    CopyText(ShownTip, sizeof(ShownTip), tip);
    Add();
}

void TrayIcon::Send(DWORD action, bool withTip)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = TrayRecordSize();
    record.hWnd = Window;
    record.uID = TRAY_ICON_ID;
    if (action != NIM_DELETE) {
        record.uFlags = NIF_ICON;
        record.hIcon = ShownIcon;
        if (withTip) {
            record.uFlags |= NIF_TIP;
            Utf8ToWide(ShownTip, record.szTip, ARRAYSIZE(record.szTip));
        }
    }
    if (action == NIM_ADD) {
        record.uFlags |= NIF_MESSAGE;
        record.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
    }
    BOOL done = TrayPlatform.NotifyIcon(action, &record);
    if (action == NIM_ADD) {
        // A timed-out add may have put the icon there all the same; then it takes a change.
        Added = done || TrayPlatform.NotifyIcon(NIM_MODIFY, &record);
        if (Added) {
            record.uVersion = NOTIFYICON_VERSION_4;
            Version4 = TrayPlatform.NotifyIcon(NIM_SETVERSION, &record) != 0;
        }
    } else if (action == NIM_MODIFY && !done) {
        Added = 0;  // the shell lost it: the next cycle adds it again
    }
}

int TrayIcon::Add()
{
    Send(NIM_ADD);
    if (Added) {
        if (FailureTold)
            EventLog.WriteLine("The tray icon was added after all\r\n");
        MissingCycles = 0;
        FailureTold = 0;
        return 1;
    }
    // At logon the shell's tray may not be ready yet: every cycle tries again.
    if (!FailureTold)
        EventLog.WriteLine("The tray icon could not be added; it is tried again every second\r\n");
    FailureTold = 1;
    return 0;
}

void TrayIcon::Remove()
{
    Send(NIM_DELETE);
    Added = 0;
    Removed = 1;
}

// The plain and the alert icon change seldom, and the tip of the moment goes with them; a speed
// icon changes every second while traffic flows, and goes alone while nobody looks at the tip
// (the shell keeps the tip it has until the mouse comes: ShowTip).
bool TrayIcon::TipGoesWith(HICON icon) const
{
    return TipCyclesLeft > 0 || icon == Normal.Get() || icon == Alert.Get();
}

int TrayIcon::WantsTip(HICON icon) const
{
    return !Added || TipCyclesLeft > 0 || (ShownIcon != icon && TipGoesWith(icon));
}

int TrayIcon::Cycle(HICON icon, const char* tip)
{
    if (Removed)
        return 0;
    // The tip changes every second while traffic flows, and telling the tray costs more than the
    // rest of the cycle; it is told only while the tip can be seen (the mouse rested on the
    // icon a moment ago). An icon change goes at once (TipGoesWith).
    int tipSeen = TipCyclesLeft > 0;
    if (tipSeen)
        TipCyclesLeft--;
    if (!Added) {
        ShownIcon = icon;
        CopyText(ShownTip, sizeof(ShownTip), tip);
        if (Add())
            return 0;
        return ++MissingCycles == TRAY_MISSING_SHOW_CYCLES;
    }
    // The record keeps the icon and tip as sent, for the day Explorer restarts.
    if (ShownIcon != icon || (tipSeen && strcmp(ShownTip, tip) != 0)) {
        const bool withTip = tipSeen || TipGoesWith(icon);
        ShownIcon = icon;
        if (withTip)
            CopyText(ShownTip, sizeof(ShownTip), tip);
        Send(NIM_MODIFY, withTip);
    }
    return 0;
}

void TrayIcon::AddAgain(const char* tip)
{
    if (Removed)
        return;
    CopyText(ShownTip, sizeof(ShownTip), tip);
    Add();
}

void TrayIcon::ShowTip(const char* tip)
{
    if (Removed || strcmp(ShownTip, tip) == 0)
        return;
    CopyText(ShownTip, sizeof(ShownTip), tip);
    Send(NIM_MODIFY);
}

void TrayIcon::ShowBalloon(DWORD icon, const char* title, const char* text)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = TrayRecordSize();
    record.hWnd = Window;
    record.uID = TRAY_ICON_ID;
    record.uFlags = NIF_INFO;
    // Not while the user is new to the system, presenting or busy full screen.
    record.dwInfoFlags = icon | NIIF_RESPECT_QUIET_TIME;
    record.uTimeout = BALLOON_TIMEOUT_MS;
    Utf8ToWide(title, record.szInfoTitle, ARRAYSIZE(record.szInfoTitle));
    Utf8ToWide(text, record.szInfo, ARRAYSIZE(record.szInfo));
    TrayPlatform.NotifyIcon(NIM_MODIFY, &record);
}

void TrayIcon::ReloadIcons()
{
    if (Window == NULL || Removed)
        return;
    OwnedIcon normal(LoadLookIcon(false));
    OwnedIcon alert(LoadLookIcon(true));
    // The old pair stays rather than half of a new one.
    if (!normal || !alert)
        return;
    // A speed icon that is shown stays; the plain pair follows the DPI.
    if (ShownIcon == Alert.Get())
        ShownIcon = alert.Get();
    else if (ShownIcon == Normal.Get())
        ShownIcon = normal.Get();
    Normal = static_cast<OwnedIcon&&>(normal);
    Alert = static_cast<OwnedIcon&&>(alert);
    if (Added)
        Send(NIM_MODIFY);
}

HICON LoadTrayIcon(HINSTANCE instance, Look look, const SystemColours& system, bool alert,
                   int size)
{
    if (look == LookHighContrast) {
        SpeedHistory none;
        return MakeSpeedIcon(DescribeSpeedIcon(SpeedTrayProgramIcon, alert,
                                               size != 0 ? size : TrayIconSize(), 0, none,
                                               MakeTrayColourPair(look, system)));
    }
    const bool dark = look == LookDark;
    const WORD id = alert ? (dark ? IDI_ALERT_DARK : IDI_ALERT)
                          : (dark ? IDI_PROGRAM_DARK : IDI_PROGRAM);
    if (size == 0)
        return LoadSmallIcon(instance, id);
    return (HICON)LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size,
                             LR_DEFAULTCOLOR);
}

HICON TrayIcon::LoadLookIcon(bool alert) const
{
    return LoadTrayIcon(Instance, IconLook, IconSystem, alert, 0);
}

void TrayIcon::SetLook(Look look, const SystemColours& system)
{
    IconLook = look;
    IconSystem = system;
    ReloadIcons();
}

TrayRequest TrayIcon::OnEvent(WPARAM wParam, LPARAM lParam, POINT* at)
{
    TrayRequest request = ReadTrayEvent(wParam, lParam, Version4, at);
    UINT doubleClickMs = GetDoubleClickTime();
    switch (request) {
    case TrayClick:
        // Version 4 selects again with the second click of a double click.
        if (Version4 && DoubleClickTick != 0 &&
            Platform.ReadTickCount() - DoubleClickTick < doubleClickMs)
            return TrayNone;
        // A menu opened at once would swallow the second click of a double click; without the
        // timer, the menu it is.
        if (SetTimer(Window, TRAY_CLICK_TIMER_ID, doubleClickMs, NULL) == 0) {
            GetCursorPos(at);
            return TrayMenu;
        }
        return TrayClick;
    case TrayDoubleClick:
        KillTimer(Window, TRAY_CLICK_TIMER_ID);
        DoubleClickTick = Platform.ReadTickCount();
        return request;
    case TrayTipSeen:
        TipCyclesLeft = TRAY_TIP_SEEN_CYCLES;
        return request;
    default:
        return request;
    }
}

// The program's own path, as the Run value names it.
static int ReadProgramPath(char* path, size_t size)
{
    return Platform.ReadModuleFileName(path, size);
}

void TrayIcon::OpenMenu(POINT at, int dialogOpen)
{
    // A click still waiting would open it a second time once this one closes.
    KillTimer(Window, TRAY_CLICK_TIMER_ID);
    HMENU menu = GetSubMenu(MenuBar.Get(), 0);
    if (menu == NULL)
        return;
    SetMenuDefaultItem(menu, ID_TRAY_SHOWHIDE, FALSE);
    char path[PATH_CHARS];
    int starts = ReadProgramPath(path, sizeof(path)) && StartsWithWindows(path);
    CheckMenuItem(menu, ID_TRAY_STARTWITHWINDOWS, starts ? MF_CHECKED : MF_UNCHECKED);
    UINT dialogItems = dialogOpen ? MF_GRAYED : MF_ENABLED;
    EnableMenuItem(menu, ID_APP_SETTINGS, dialogItems);
    EnableMenuItem(menu, ID_APP_ABOUT, dialogItems);

    // Without the foreground the menu would not close when the user clicks elsewhere; the
    // message after it lets the shell see that the menu is gone.
    SetForegroundWindow(Window);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN | TPM_RIGHTALIGN, at.x, at.y, 0, Window, NULL);
    PostMessageW(Window, WM_NULL, 0, 0);
}

void ToggleStartWithWindows()
{
    char path[PATH_CHARS];
    if (ReadProgramPath(path, sizeof(path)))
        SetStartWithWindows(!StartsWithWindows(path), path);
}
