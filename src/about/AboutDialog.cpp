#include "AboutDialog.h"

#include "BrisvaneVersion.h"
#include "Utf8Text.h"
#include "LanguageResources.h"
#include "resource.h"

#include <stdio.h>

// "Data folder: " and a path.
#define ABOUT_LINE_CHARS (MAX_PATH * 3 + 64)  // "Data folder: " in any language and a UTF-8 path

// Makes the label a link of the dialog's control and gives it its text; a control that cannot
// be subclassed stays a plain, empty static.
static void MakeLink(HWND dialog, int controlId, LinkLabel& label, const char* text)
{
    if (label.SubclassWindow(GetDlgItem(dialog, controlId)))
        SetWindowTextW(label.Window, WideText(text));
}

LRESULT AboutDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    MakeLink(Window, IDC_ABOUT_MAIL, MailLink, ABOUT_CONTACT_ADDRESS);
    MakeLink(Window, IDC_ABOUT_WEB, WebLink, ABOUT_WEB_ADDRESS);

    ShowIcon(DpiForWindow(SystemDpiFunctions(), Window));
    SetDlgItemTextW(Window, IDC_ABOUT_VERSION, WideText("Brisvane " BRISVANE_VERSION_TEXT));
    if (DataFolder != NULL) {
        char line[ABOUT_LINE_CHARS];
        const char* parts[] = {DataFolder};
        FormatText(line, sizeof(line), IDS_ABOUT_DATA, parts, 1);
        SetDlgItemTextW(Window, IDC_ABOUT_DATA, WideText(line));
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
