// A static control turned into a link: drawn underlined in link colours, with the hand cursor
// over it, opening its text with the shell when clicked. It gets its colour request through
// the parent's reflection, so only a reflecting dialog can host it.
#ifndef BRISVANE_LINKLABEL_H
#define BRISVANE_LINKLABEL_H

#include <windows.h>

#include "ControlColours.h"
#include "OwnedHandle.h"
#include "WindowObject.h"

typedef HINSTANCE(WINAPI* ShellExecuteFunction)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

// The shell call that opens a link: ShellExecuteA, replaced by tests so nothing is launched.
extern ShellExecuteFunction OpenLinkTarget;

// Link text colours: unvisited, and after a successful open.
#define LINK_COLOR RGB(0, 0, 255)
#define VISITED_LINK_COLOR RGB(128, 0, 0)

class LinkLabel : public WindowObject {
public:
    LinkLabel();
    ~LinkLabel() override;

    BEGIN_MSG_MAP(LinkLabel)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftButtonDown)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_CTLCOLORSTATIC, OnColorStatic)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_DRAWITEM, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_MEASUREITEM, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_DELETEITEM, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_VKEYTOITEM, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_CHARTOITEM, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_COMPAREITEM, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_NOTIFY, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_COMMAND, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_HSCROLL, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_VSCROLL, OnOtherReflected)
        MESSAGE_HANDLER(REFLECTION_BASE + WM_PARENTNOTIFY, OnOtherReflected)
        MESSAGE_RANGE_HANDLER(REFLECTION_BASE + WM_CTLCOLORMSGBOX,
                              REFLECTION_BASE + WM_CTLCOLORSCROLLBAR, OnOtherReflected)
    END_MSG_MAP()

    LRESULT OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLeftButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnColorStatic(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnOtherReflected(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    OwnedFont UnderlineFont;  // made at the first colour request
    HCURSOR HandCursor;   // a shared resource cursor: never destroyed
    int FontPending;      // 1 until UnderlineFont has been made
    int Visited;          // 1 after a successful open
    const ControlColours* Colours = nullptr;  // its dialog's; none: the system's
};

#endif
