// The main window from the keyboard: Ctrl+Tab and Ctrl+Shift+Tab (also Ctrl+PgDn and Ctrl+PgUp)
// step through the adapter tabs as in a property sheet; Settings and About sit in the system
// menu (Alt+Space); the tool bar's buttons name themselves in tooltips.
#include "BoundedText.h"
#include "InterfaceMonitor.h"
#include "MainWindow.h"
#include "Utf8Text.h"

// The system menu's command bits; the low four belong to the system.
#define SYSTEM_COMMAND_MASK 0xFFF0

void MainWindow::AddKeyboardCommands()
{
    Accelerators = LoadAcceleratorsW(WindowModule.Instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    HMENU system = GetSystemMenu(Window, FALSE);
    if (system == NULL)
        return;
    AppendMenuW(system, MF_SEPARATOR, 0, NULL);
    AppendMenuW(system, MF_STRING, IDM_SYS_SETTINGS, L"Se&ttings...");
    AppendMenuW(system, MF_STRING, IDM_SYS_ABOUT, L"&About...");
}

int MainWindow::TranslateKeys(MSG* message)
{
    if (Window == NULL || Accelerators == NULL)
        return 0;
    // Only keys meant for this window or its pages; a dialog of its own keeps its keys.
    if (message->hwnd != Window && !IsChild(Window, message->hwnd))
        return 0;
    return TranslateAcceleratorW(Window, Accelerators, message) != 0;
}

int MainWindow::TakeDialogKeys(MSG* message)
{
    if (TabControl != NULL) {
        InterfaceMonitor* page = SelectedMonitor();
        if (page != NULL && page->Window != NULL && IsDialogMessageW(page->Window, message))
            return 1;
    }
    return HistoryView.Window != NULL && IsDialogMessageW(HistoryView.Window, message);
}

LRESULT MainWindow::OnSysCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    BOOL unused = TRUE;
    switch (wParam & SYSTEM_COMMAND_MASK) {
    case IDM_SYS_SETTINGS:
        return OnSettingsCommand(0, ID_APP_SETTINGS, NULL, unused);
    case IDM_SYS_ABOUT:
        return OnAboutCommand(0, ID_APP_ABOUT, NULL, unused);
    default:
        handled = FALSE;
        return 0;
    }
}

void MainWindow::ShowTab(int position)
{
    BOOL unused = TRUE;
    OnSelChanging(IDC_TABCONTROL, NULL, unused);
    Tabs().Select(position);
    OnSelChange(IDC_TABCONTROL, NULL, unused);
}

LRESULT MainWindow::OnStepTab(WORD, WORD id, HWND, BOOL&)
{
    TabStrip tabs = Tabs();
    int count = tabs.Count();
    if (count < 2)
        return 0;
    ShowTab(TabStrip::Step(tabs.Selected(), count, id == ID_NEXT_TAB ? 1 : -1));
    return 0;
}

LRESULT MainWindow::OnToolTipText(int, NMHDR* header, BOOL&)
{
    const char* text = header->idFrom == ID_APP_SETTINGS ? "Settings"
                       : header->idFrom == ID_APP_HISTORY ? "History"
                                                          : "About";
    // The tool bar's tips ask in UTF-16, as its parent is a UTF-16 window.
    NMTTDISPINFOW* info = (NMTTDISPINFOW*)header;
    Utf8ToWide(text, info->szText, sizeof(info->szText) / sizeof(info->szText[0]));
    info->lpszText = info->szText;
    return 0;
}

