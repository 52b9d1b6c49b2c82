#include "AboutDialog.h"

#include "BrisvaneVersion.h"
#include "resource.h"

#include <stdio.h>

// "Data folder: " and a path.
#define ABOUT_LINE_CHARS 300

// Makes the label a link of the dialog's control and gives it its text; a control that cannot
// be subclassed stays a plain, empty static.
static void MakeLink(HWND dialog, int controlId, LinkLabel& label, const char* text)
{
    if (label.SubclassWindow(GetDlgItem(dialog, controlId)))
        SetWindowTextA(label.Window, text);
}

LRESULT AboutDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    MakeLink(Window, IDC_ABOUT_MAIL, MailLink, ABOUT_CONTACT_ADDRESS);
    MakeLink(Window, IDC_ABOUT_WEB, WebLink, ABOUT_WEB_ADDRESS);

    ShowIcon(DpiForWindow(SystemDpiFunctions(), Window));
    SetDlgItemTextA(Window, IDC_ABOUT_VERSION, "Brisvane " BRISVANE_VERSION_TEXT);
    if (DataFolder != NULL) {
        char line[ABOUT_LINE_CHARS];
        _snprintf(line, sizeof(line), "Data folder: %s", DataFolder);
        line[sizeof(line) - 1] = 0;
        SetDlgItemTextA(Window, IDC_ABOUT_DATA, line);
    }
    // Let the dialog manager set the default focus.
    return 1;
}

void AboutDialog::ShowIcon(UINT dpi)
{
    HICON icon = LoadIconForDpi(SystemDpiFunctions(), WindowModule.Instance, IDI_PROGRAM,
                                SM_CXICON, dpi);
    if (icon == NULL)
        return;
    SendDlgItemMessageW(Window, IDC_ABOUT_ICON, STM_SETICON, (WPARAM)icon, 0);
    Icon.Reset(icon);  // after the control let the old one go
}

LRESULT AboutDialog::OnDpiChanged(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    ShowIcon(HIWORD(wParam));
    handled = FALSE;
    return 0;
}

LRESULT AboutDialog::OnCloseCommand(WORD, WORD id, HWND, BOOL&)
{
    return EndDialog(Window, id);
}

void RunAboutDialog(HWND owner, const char* dataFolder)
{
    // Fresh labels for every opening: both links unvisited, fonts made anew.
    AboutDialog dialog;
    dialog.DataFolder = dataFolder;
    dialog.RunModal(owner, IDD_ABOUT);
}
