#include "LinkLabel.h"

#include <mbstring.h>
#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include "resource.h"

ShellExecuteFunction OpenLinkTarget = ShellExecuteA;

static const char MailPrefix[] = "mailto:";
static const int MailPrefixLength = sizeof(MailPrefix) - 1;

LinkLabel::LinkLabel()
    : UnderlineFont(NULL),
      HandCursor(LoadCursorA(WindowModule.Instance, MAKEINTRESOURCEA(IDC_HANDCURSOR))),
      FontPending(1),
      Visited(0)
{
}

LinkLabel::~LinkLabel()
{
    if (UnderlineFont != NULL)
        DeleteObject(UnderlineFont);
}

LRESULT LinkLabel::OnSetCursor(UINT, WPARAM, LPARAM, BOOL&)
{
    // Over the whole control, whatever part the hit test named.
    SetCursor(HandCursor);
    return 1;
}

LRESULT LinkLabel::OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    // The text goes behind room for the mail prefix, so a mail target needs no second buffer.
    char buffer[128];
    char* text = buffer + MailPrefixLength;
    text[0] = 0;
    // At most 120 characters and the terminating zero.
    GetWindowTextA(Window, text, (int)sizeof(buffer) - MailPrefixLength);

    const char* target = text;
    if (_mbschr((const unsigned char*)text, '@') != NULL) {
        memcpy(buffer, MailPrefix, MailPrefixLength);
        target = buffer;
    }

    HINSTANCE code = OpenLinkTarget(NULL, "open", target, NULL, NULL, SW_SHOWNORMAL);
    if ((INT_PTR)code > 32) {
        // Shows at the next repaint.
        Visited = 1;
    } else {
        _snprintf(buffer, sizeof(buffer), "Fail to execute associated application.\nCode: %#x",
                  (unsigned)(UINT_PTR)code);
        buffer[sizeof(buffer) - 1] = 0;
        MessageBoxA(Window, buffer, "Brisvane", MB_OK | MB_ICONERROR);
    }
    // Taken here: the static itself never sees the click.
    return 0;
}

LRESULT LinkLabel::OnColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    HDC dc = (HDC)wParam;
    if (FontPending) {
        FontPending = 0;
        HFONT font = (HFONT)SendMessageA(Window, WM_GETFONT, 0, 0);
        if (font == NULL)
            font = (HFONT)GetStockObject(SYSTEM_FONT);  // what a static draws without a font
        LOGFONTA description;
        if (GetObjectA(font, sizeof(description), &description) == sizeof(description)) {
            description.lfUnderline = 1;
            UnderlineFont = CreateFontIndirectA(&description);
            // Some statics select their own font only after asking for colours, which would
            // undo the selection below; as the control's own font it holds either way.
            if (UnderlineFont != NULL)
                SendMessageA(Window, WM_SETFONT, (WPARAM)UnderlineFont, FALSE);
        }
    }
    if (UnderlineFont != NULL)
        SelectObject(dc, UnderlineFont);
    SetTextColor(dc, Visited ? VISITED_LINK_COLOR : LINK_COLOR);
    SetBkMode(dc, TRANSPARENT);
    // Lets the dialog's background show behind the text.
    return (LRESULT)GetStockObject(NULL_BRUSH);
}

LRESULT LinkLabel::OnOtherReflected(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // Answer as an unreflected window would, rather than let the static see unknown numbers.
    return DefWindowProcA(Window, message - REFLECTION_BASE, wParam, lParam);
}
