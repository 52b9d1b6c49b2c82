// The main window's commands: the tool bar's and the system menu's dialogs, the tray icon's
// events and menu, Show/Hide, Close with its question, the history, the speed views' choices
// and the balloons.
#include <string.h>
#include <wchar.h>

#include <memory>

#include "AboutDialog.h"
#include "AlertNotice.h"
#include "BoundedText.h"
#include "InterfaceIdentity.h"
#include "HistoryLink.h"
#include "InterfaceMonitor.h"
#include "LanguageResources.h"
#include "LogChannel.h"
#include "MainWindow.h"
#include "Settings.h"
#include "SettingsDialog.h"

namespace {

constexpr wchar_t DialogClassName[] = L"#32770";
constexpr UINT CloseQuestionStyle = MB_YESNO | MB_ICONQUESTION | MB_TOPMOST;

}  // namespace

LRESULT MainWindow::OnCommand(WORD, WORD id, HWND, BOOL& handled)
{
    switch (id) {
    case ID_APP_ABOUT:
        RunAbout();
        break;
    case ID_APP_SETTINGS:
        RunSettings();
        break;
    case ID_TRAY_SHOWHIDE:
        // A minimised window is out of sight too: it comes back rather than going away.
        if (IsWindowVisible(Window) && !IsIconic(Window))
            ShowWindow(Window, SW_HIDE);
        else
            ShowMainWindow();
        break;
    case ID_TRAY_CLOSE:
        AskToClose();
        break;
    case ID_TRAY_STARTWITHWINDOWS:
        ToggleStartWithWindows();
        break;
    case ID_APP_HISTORY:
        HistoryView.Open(Window, &Meter.History(), LinksForHistory());
        break;
    case ID_TRAY_ADAPTERS:
        RunAdapters();
        break;
    case ID_TRAY_FORECASTWARN:
        Meter.Warning().Enabled = !Meter.Warning().Enabled;
        Meter.SaveAll();
        break;
    case ID_NEXT_TAB:
    case ID_PREVIOUS_TAB:
        if (Tabs.Count() >= 2)
            ShowTab(TabStrip::Step(Tabs.Selected(), Tabs.Count(), id == ID_NEXT_TAB ? 1 : -1));
        break;
    default:
        handled = FALSE;
        break;
    }
    return 0;
}

LRESULT MainWindow::OnSpeedCommand(WORD, WORD id, HWND, BOOL& handled)
{
    if (ShutdownDone || !Speed.Command(id))
        handled = FALSE;
    return 0;
}

LRESULT MainWindow::OnSpeedWindowRequest(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (ShutdownDone)
        return 0;
    if (wParam == SpeedRequestShowMain) {
        ShowMainWindow();
    } else if (wParam == SpeedRequestMenu) {
        POINT at = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OpenTrayMenu(at);
    }
    return 0;
}

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
        char tip[FullTipChars];
        TrayTip(tip, sizeof(tip));
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
    char tip[FullTipChars];
    TrayTip(tip, sizeof(tip));
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
    HMENU menu = GetSubMenu(Tray.Menu(), 0);
    if (menu != NULL)
        CheckMenuItem(menu, ID_TRAY_FORECASTWARN,
                      Meter.Warning().Enabled ? MF_CHECKED : MF_UNCHECKED);
    Speed.PrepareMenu(Tray.Menu());
    Tray.OpenMenu(at, CommandDialogOpen);
}

void MainWindow::SendBalloon(InterfaceMonitor* monitor, DWORD icon, UINT title, const char* text)
{
    char titleText[BalloonTitleBytes];
    LoadText(title, titleText, sizeof(titleText));
    BalloonMonitor = monitor;
    Tray.ShowBalloon(icon, titleText, text);
}

void MainWindow::SendTextBalloon(InterfaceMonitor* monitor, DWORD icon, UINT title, UINT text)
{
    char textText[TRAY_INFO_BYTES];
    LoadText(text, textText, sizeof(textText));
    SendBalloon(monitor, icon, title, textText);
}

void MainWindow::OnBalloonClick()
{
    if (ShutdownDone)
        return;
    if (BalloonMonitor == NULL) {
        ShowMainWindow();
        return;
    }
    // Adapters live as long as the meter, so the pointer is still good; its tab is found again
    // because tabs shift as adapters come.
    int position = Tabs.PositionOf(BalloonMonitor);
    if (position >= 0 && position != Tabs.Selected())
        ShowTab(position);
    ShowMainWindow();
    FitCurrentPage(true);
}

void MainWindow::RunAbout()
{
    if (CommandDialogOpen)
        return;
    CommandDialogOpen = true;
    RunAboutDialog(Window, DataFolder, &PagesLook.Controls);
    CommandDialogOpen = false;
}

void MainWindow::RunSettings()
{
    if (CommandDialogOpen)
        return;
    CommandDialogOpen = true;
    SettingsRequest request;
    bool accepted = RunSettingsDialog(&request, &PagesLook.Controls) != 0;
    CommandDialogOpen = false;
    if (!accepted)
        return;
    if (request.SaveFailed)
        Meter.TellSaveFailure(request.SaveError, IniPath);
    // The reset is applied once the dialog has closed, from the one moment it chose.
    if (request.ResetRequested)
        Meter.ResetAll(request.ResetDate);
}

// Enumeration callback: finds a shown dialog owned by the window in *found, and puts it there.
static BOOL CALLBACK FindShownQuestion(HWND candidate, LPARAM found)
{
    HWND* question = (HWND*)found;
    wchar_t className[sizeof(DialogClassName) / sizeof(wchar_t)] = L"";
    GetClassNameW(candidate, className, sizeof(className) / sizeof(className[0]));
    if (GetWindow(candidate, GW_OWNER) != *question || wcscmp(className, DialogClassName) != 0 ||
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

void MainWindow::AskToClose()
{
    ShowWindow(Window, SW_HIDE);
    // The timer runs in the question's own loop.
    SetTimer(Window, FrontTimerId, USER_TIMER_MINIMUM, BringQuestionForward);
    wchar_t question[TextMaxChars];
    LoadTextW(IDS_CLOSE_QUESTION, question, TextMaxChars);
    int answer = MessageBoxW(Window, question, L"Brisvane", CloseQuestionStyle);
    KillTimer(Window, FrontTimerId);
    if (answer == IDYES)
        PostMessageW(Window, WM_CLOSE, 0, 0);
}

HistoryLinks MainWindow::LinksForHistory()
{
    HistoryLinks links = SettingsHistoryLinks();
    // The adapters go by their tabs' names: the IPv4 text of the adapter of that MAC text.
    links.TabName = [this](const char* mac, char* name, size_t size) {
        return Meter.ForEachMonitor([&](const InterfaceMonitor& monitor) {
            char text[SHORT_TEXT];
            monitor.MacText(text, sizeof(text));
            if (strcmp(text, mac) != 0)
                return false;
            CopyText(name, size, monitor.IPv4Text);
            return true;
        }) != nullptr;
    };
    // Adapters of this run as the meter has them; the others by their marks in the INI file,
    // read once for this opening of the window (only a running adapter's marks change).
    auto file = std::make_shared<IniDocument>();
    auto fileRead = std::make_shared<bool>(false);
    links.StandingOf = [this, file, fileRead](const char* name) {
        AdapterStanding standing = {true, true};
        InterfaceMonitor* running = Meter.ForEachMonitor([&](const InterfaceMonitor& monitor) {
            char section[SHORT_TEXT];
            monitor.SectionName(section, sizeof(section));
            return strcmp(section, name) == 0;
        });
        if (running != nullptr) {
            standing.Shown = !running->Hidden();
            standing.Counted = running->CountsInAll();
            return standing;
        }
        if (!*fileRead) {
            *fileRead = true;
            if (IniPath[0] != 0)
                file->Read(IniPath);
        }
        AdapterMarks marks = ReadAdapterMarks(*file, name);
        standing.Shown = !(marks.Hidden.State == MarkSet && marks.Hidden.Value);
        // An adapter without a mark counts, as it did before there were marks.
        standing.Counted = marks.CountInAll.State != MarkSet || marks.CountInAll.Value;
        return standing;
    };
    return links;
}
