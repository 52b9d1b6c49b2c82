// Dialog template 103, the about box, control by control.
#include "DialogTemplate.h"
#include "resource.h"

TEST(AboutTemplate, ControlsInTabOrder)
{
    const DWORD text = WS_VISIBLE | SS_LEFT;
    const DWORD link = text | SS_NOTIFY;  // lets the links see clicks
    ExpectDialogTemplate(IDD_ABOUT, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "About", {
        {IDC_ABOUT_ICON, "Static", WS_VISIBLE | SS_ICON, "#101"},
        {IDC_ABOUT_VERSION, "Static", text | SS_NOPREFIX, ""},
        {-1, "Static", text, "Copyright (C) 2026 Brisvane\nFree to use and to pass on."},
        {IDOK, "Button", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, "OK"},
        {IDC_ABOUT_MAIL, "Static", link, ""},
        {-1, "Static", text, "Donations accepted. See Web site for details:"},
        {IDC_ABOUT_WEB, "Static", link, ""},
    });
}
