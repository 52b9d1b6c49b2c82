// The main window from the keyboard: Ctrl+Tab and Ctrl+Shift+Tab (also Ctrl+PgDn and Ctrl+PgUp)
// step through the adapter tabs as in a property sheet; Settings and About sit in the system
// menu (Alt+Space); the tool bar's buttons name themselves in tooltips.
#include "BoundedText.h"
#include "LanguageResources.h"
#include "MainWindow.h"
#include "Utf8Text.h"

namespace {

// The system menu's command bits; the low four belong to the system.
constexpr WPARAM SystemCommandMask = 0xFFF0;

}  // namespace

void MainWindow::AddKeyboardCommands()
{
    Accelerators = LoadAcceleratorsW(WindowModule.Instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    HMENU system = GetSystemMenu(Window, FALSE);
    if (system == NULL)
        return;
    AppendMenuW(system, MF_SEPARATOR, 0, NULL);
    wchar_t item[TextMaxChars];
    LoadTextW(IDS_SYSMENU_SETTINGS, item, TextMaxChars);
    AppendMenuW(system, MF_STRING, IDM_SYS_SETTINGS, item);
    LoadTextW(IDS_SYSMENU_ABOUT, item, TextMaxChars);
    AppendMenuW(system, MF_STRING, IDM_SYS_ABOUT, item);
}

bool MainWindow::TranslateKeys(MSG* message)
{
    if (Window == NULL || Accelerators == NULL)
        return false;
    // Only keys meant for this window or its pages; a dialog of its own keeps its keys.
    if (message->hwnd != Window && !IsChild(Window, message->hwnd))
        return false;
    return TranslateAcceleratorW(Window, Accelerators, message) != 0;
}

bool MainWindow::TakeDialogKeys(MSG* message)
{
    if (TabControl != NULL) {
        InterfacePage* page = Tabs.SelectedPage();
        if (page != nullptr && page->Window != NULL && IsDialogMessageW(page->Window, message))
            return true;
    }
    return HistoryView.Window != NULL && IsDialogMessageW(HistoryView.Window, message);
}

LRESULT MainWindow::OnSysCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    switch (wParam & SystemCommandMask) {
    case IDM_SYS_SETTINGS:
        RunSettings();
        return 0;
    case IDM_SYS_ABOUT:
        RunAbout();
        return 0;
    default:
        handled = FALSE;
        return 0;
    }
}

void MainWindow::ShowTab(int position)
{
    BOOL unused = TRUE;
    OnSelChanging(IDC_TABCONTROL, NULL, unused);
    Tabs.Select(position);
    OnSelChange(IDC_TABCONTROL, NULL, unused);
}

LRESULT MainWindow::OnToolTipText(int, NMHDR* header, BOOL& handled)
{
    if (TabTipText.Answer(Tabs, header))
        return 0;
    UINT text = header->idFrom == ID_APP_SETTINGS  ? IDS_TIP_SETTINGS
                : header->idFrom == ID_APP_HISTORY ? IDS_TIP_HISTORY
                : header->idFrom == ID_APP_ABOUT   ? IDS_TIP_ABOUT
                                                   : 0;
    // Only the tool bar's buttons; other tips are their controls' own.
    if (text == 0) {
        handled = FALSE;
        return 0;
    }
    // The tool bar's tips ask in UTF-16, as its parent is a UTF-16 window.
    NMTTDISPINFOW* info = (NMTTDISPINFOW*)header;
    LoadTextW(text, info->szText, sizeof(info->szText) / sizeof(info->szText[0]));
    info->lpszText = info->szText;
    return 0;
}

