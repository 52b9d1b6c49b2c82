// The about box: program icon, name and version, owner notice, and two links (mail and web).
#ifndef BRISVANE_ABOUTDIALOG_H
#define BRISVANE_ABOUTDIALOG_H

#include <windows.h>

#include "ControlColours.h"
#include "DpiLayout.h"
#include "LinkLabel.h"
#include "OwnedHandle.h"
#include "WindowObject.h"

// The links' targets.
#define ABOUT_CONTACT_ADDRESS "contact@brisvane.example"
#define ABOUT_WEB_ADDRESS "https://www.brisvane.example/"

// The only dialog that reflects its controls' notifications back to them: the links colour
// themselves from the reflected colour request.
class AboutDialog : public DialogObject {
public:
    BEGIN_MSG_MAP(AboutDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
        COMMAND_ID_HANDLER(IDOK, OnCloseCommand)
        COMMAND_ID_HANDLER(IDCANCEL, OnCloseCommand)
        MESSAGE_RANGE_HANDLER(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, OnColourMessage)
        NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
        REFLECT_NOTIFICATIONS()
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCloseCommand(WORD code, WORD id, HWND control, BOOL& handled);
    // The icon again at the new DPI's size; the dialog manager does the rest.
    LRESULT OnDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The labels' and the box's colours; the links' go on to the links.
    LRESULT OnColourMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCustomDraw(int, NMHDR* header, BOOL& handled)
    {
        return DrawPushButton(Colours, header, handled);
    }
    // The program's icon at the large-icon size of the DPI.
    void ShowIcon(UINT dpi);

    AboutDialog() : DataFolder(NULL) {}

    LinkLabel MailLink;
    LinkLabel WebLink;
    const char* DataFolder;  // shown under the links; null for none
    OwnedIcon Icon;          // the one the icon control shows
    const ControlColours* Colours = nullptr;  // the main window's; none: the system's
};

// Runs the about box modally over the owner, in the colours (none: the system's); both links
// start unvisited every time.
void RunAboutDialog(HWND owner, const char* dataFolder = NULL,
                    const ControlColours* colours = nullptr);

#endif
