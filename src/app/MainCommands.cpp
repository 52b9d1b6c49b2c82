// The main window's commands: the tool bar's and the system menu's dialogs, the tray icon's
// events and menu, Show/Hide, Close with its question, the history and the alert balloons.
#include <string.h>
#include <wchar.h>

#include "AboutDialog.h"
#include "AlertNotice.h"
#include "BoundedText.h"
#include "InterfaceIdentity.h"
#include "InterfaceMonitor.h"
#include "LogChannel.h"
#include "MainWindow.h"
#include "Settings.h"
#include "SettingsDialog.h"

#define DIALOG_CLASS_NAME L"#32770"
#define CLOSE_QUESTION_STYLE (MB_YESNO | MB_ICONQUESTION | MB_TOPMOST)

LRESULT MainWindow::OnTrayNotify(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    POINT at = {0, 0};
    switch (Tray.OnEvent(wParam, lParam, &at)) {
    case TrayDoubleClick:
        ShowMainWindow();
        break;
    case TrayMenu:
        OpenTrayMenu(at);
        break;
    case TrayTipSeen: {
        if (ShutdownDone)
            break;
        char tip[FULL_TIP_CHARS];
        FormatTrayTip(SelectedMonitor(), tip, TRAY_TIP_CHARS);
        AppendForecastTip(SelectedMonitor(), tip, sizeof(tip));
        Tray.ShowTip(tip);
        break;
    }
    case TrayBalloonClick:
        OnBalloonClick();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT MainWindow::OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL& handled)
{
    // Explorer restarted and forgot our icon; without it a hidden program could not be reached.
    if (ShutdownDone || TaskbarCreatedMessage == 0) {
        handled = FALSE;
        return 0;
    }
    // The tip is sent only while it can be seen, so the record's may be old.
    char tip[FULL_TIP_CHARS];
    FormatTrayTip(SelectedMonitor(), tip, TRAY_TIP_CHARS);
    AppendForecastTip(SelectedMonitor(), tip, sizeof(tip));
    Tray.AddAgain(tip);
    return 0;
}

void MainWindow::ShowMainWindow()
{
    if (!IsWindowVisible(Window))
        ShowWindow(Window, SW_SHOWNORMAL);
    else if (IsIconic(Window))
        ShowWindow(Window, SW_RESTORE);
    SetForegroundWindow(Window);
}

void MainWindow::OpenTrayMenu(POINT at)
{
    CheckForecastMenuItem();
    Speed.PrepareMenu(Tray.Menu());
    Tray.OpenMenu(at, CommandDialogOpen);
}

LRESULT MainWindow::OnStartWithWindows(WORD, WORD, HWND, BOOL&)
{
    ToggleStartWithWindows();
    return 0;
}

void MainWindow::SendBalloon(InterfaceMonitor* monitor, DWORD icon, const char* title,
                             const char* text)
{
    BalloonMonitor = monitor;
    Tray.ShowBalloon(icon, title, text);
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

LRESULT MainWindow::OnAboutCommand(WORD, WORD, HWND, BOOL&)
{
    if (CommandDialogOpen)
        return 0;
    CommandDialogOpen = 1;
    RunAboutDialog(Window, DataFolder);
    CommandDialogOpen = 0;
    return 0;
}

LRESULT MainWindow::OnSettingsCommand(WORD, WORD, HWND, BOOL&)
{
    if (CommandDialogOpen)
        return 0;
    CommandDialogOpen = 1;
    SettingsRequest request;
    int accepted = RunSettingsDialog(&request);
    CommandDialogOpen = 0;
    if (accepted)
        ApplySettingsRequest(request);
    return 0;
}

void MainWindow::ApplySettingsRequest(const SettingsRequest& request)
{
    if (request.SaveFailed)
        ReportSaveFailure(Settings.LastSaveError, IniPath);
    if (!request.ResetRequested)
        return;
    DATE date = request.ResetDate;
    ForEachMonitor(ResetCounters, &date);
    EventLog.WriteLine("The counters were reset at user request\r\n");
}

LRESULT MainWindow::OnShowHide(WORD, WORD, HWND, BOOL&)
{
    // A minimised window is out of sight too: it comes back rather than going away.
    if (IsWindowVisible(Window) && !IsIconic(Window))
        ShowWindow(Window, SW_HIDE);
    else
        ShowMainWindow();
    return 0;
}

// Enumeration callback: finds a shown dialog owned by the window in *found, and puts it there.
static BOOL CALLBACK FindShownQuestion(HWND candidate, LPARAM found)
{
    HWND* question = (HWND*)found;
    wchar_t className[sizeof(DIALOG_CLASS_NAME) / sizeof(wchar_t)] = L"";
    GetClassNameW(candidate, className, sizeof(className) / sizeof(className[0]));
    if (GetWindow(candidate, GW_OWNER) != *question || wcscmp(className, DIALOG_CLASS_NAME) != 0 ||
        !IsWindowVisible(candidate))
        return TRUE;
    *question = candidate;
    return FALSE;
}

// Brings the question the window has just put up to the front, once it shows: opened from the
// tray menu, it would come up behind the shell, which keeps the keyboard, so Y and Enter would
// not reach it.
static void CALLBACK BringQuestionForward(HWND window, UINT, UINT_PTR timer, DWORD)
{
    // The dialog shows when its loop first waits; until then, the next tick looks again.
    HWND question = window;
    EnumThreadWindows(GetCurrentThreadId(), FindShownQuestion, (LPARAM)&question);
    if (question == window)
        return;
    KillTimer(window, timer);
    if (GetForegroundWindow() != question)
        SetForegroundWindow(question);
}

LRESULT MainWindow::OnCloseCommand(WORD, WORD, HWND, BOOL&)
{
    ShowWindow(Window, SW_HIDE);
    // The timer runs in the question's own loop.
    SetTimer(Window, FRONT_TIMER_ID, USER_TIMER_MINIMUM, BringQuestionForward);
    int answer = MessageBoxW(Window, L"Do you really want to close Brisvane ?", L"Brisvane",
                             CLOSE_QUESTION_STYLE);
    KillTimer(Window, FRONT_TIMER_ID);
    if (answer == IDYES)
        PostMessageW(Window, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT MainWindow::OnHistoryCommand(WORD, WORD, HWND, BOOL&)
{
    HistoryView.Open(Window, &History, LinksForHistory());
    return 0;
}

// What a tab name search looks for and finds.
struct TabNameSearch {
    const char* Mac;
    char* Name;
    size_t Size;
};

static void* FindTabName(InterfaceMonitor* monitor, void* search)
{
    TabNameSearch* wanted = (TabNameSearch*)search;
    char mac[SHORT_TEXT];
    FormatMacText(monitor->IfRow.bPhysAddr, PhysAddrLength(&monitor->IfRow), mac, sizeof(mac));
    if (strcmp(mac, wanted->Mac) != 0)
        return NULL;
    CopyText(wanted->Name, wanted->Size, monitor->IPv4Text);
    return monitor;
}

static int TabNameOf(void* mainWindow, const char* mac, char* name, size_t size)
{
    TabNameSearch search = {mac, name, size};
    return ((MainWindow*)mainWindow)->ForEachMonitor(FindTabName, &search) != NULL;
}

HistoryLinks MainWindow::LinksForHistory()
{
    HistoryLinks links = SettingsHistoryLinks();
    links.TabName = TabNameOf;
    links.TabNameContext = this;
    return links;
}
