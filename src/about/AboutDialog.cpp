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
    MailLink.Colours = WebLink.Colours = Colours;
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
    if (Colours != nullptr)
        ShowColours(Window, *Colours);
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

LRESULT AboutDialog::OnColourMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    const HWND control = (HWND)lParam;
    if (control != NULL && (control == MailLink.Window || control == WebLink.Window)) {
        handled = FALSE;
        return 0;
    }
    return AnswerColourMessage(Colours, message, wParam, lParam, handled);
}

void RunAboutDialog(HWND owner, const char* dataFolder, const ControlColours* colours)
{
    // Fresh labels for every opening: both links unvisited, fonts made anew.
    AboutDialog dialog;
    dialog.DataFolder = dataFolder;
    dialog.Colours = colours;
    dialog.RunModal(owner, IDD_ABOUT);
}
