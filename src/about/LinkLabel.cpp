#include "LinkLabel.h"

#include <shellapi.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "LanguageResources.h"
#include "Palette.h"
#include "ThemePlatform.h"
#include "Utf8Text.h"
#include "resource.h"

namespace {

// In high contrast the scheme's own colour for links, or its text where that would not read;
// in the dark look the palette's, which reads on it. A visited link cannot look otherwise in
// either.
COLORREF LinkColour(bool visited, const ControlColours* colours)
{
    if (ThemePlatform.HighContrastOn != nullptr && ThemePlatform.HighContrastOn())
        return MakePalette(LookHighContrast, ReadSystemColours()).Link;
    if (colours != nullptr && colours->Custom)
        return colours->Colours.Link;
    return visited ? VISITED_LINK_COLOR : LINK_COLOR;
}

}  // namespace

ShellExecuteFunction OpenLinkTarget = ShellExecuteW;

static const wchar_t MailPrefix[] = L"mailto:";
static const int MailPrefixLength = sizeof(MailPrefix) / sizeof(MailPrefix[0]) - 1;
static const int LinkBufferChars = 128;

LinkLabel::LinkLabel()
    : UnderlineFont(),
      HandCursor(LoadCursorW(WindowModule.Instance, MAKEINTRESOURCEW(IDC_HANDCURSOR))),
      FontPending(1),
      Visited(0)
{
}

LinkLabel::~LinkLabel() {}

LRESULT LinkLabel::OnSetCursor(UINT, WPARAM, LPARAM, BOOL&)
{
    // Over the whole control, whatever part the hit test named.
    SetCursor(HandCursor);
    return 1;
}

LRESULT LinkLabel::OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    // The text goes behind room for the mail prefix, so a mail target needs no second buffer.
    wchar_t buffer[LinkBufferChars];
    wchar_t* text = buffer + MailPrefixLength;
    text[0] = 0;
    // At most 120 characters and the terminating zero.
    GetWindowTextW(Window, text, LinkBufferChars - MailPrefixLength);

    const wchar_t* target = text;
    if (wcschr(text, L'@') != NULL) {
        memcpy(buffer, MailPrefix, MailPrefixLength * sizeof(wchar_t));
        target = buffer;
    }

    HINSTANCE code = OpenLinkTarget(NULL, L"open", target, NULL, NULL, SW_SHOWNORMAL);
    if ((INT_PTR)code > 32) {
        // Shows at the next repaint.
        Visited = 1;
    } else {
        char figure[16], message[LinkBufferChars];
        _snprintf(figure, sizeof(figure), "%#x", (unsigned)(UINT_PTR)code);
        figure[sizeof(figure) - 1] = 0;
        const char* parts[] = {figure};
        FormatText(message, sizeof(message), IDS_LINK_FAILED, parts, 1);
        MessageBoxW(Window, WideText(message), L"Brisvane", MB_OK | MB_ICONERROR);
    }
    // Taken here: the static itself never sees the click.
    return 0;
}

LRESULT LinkLabel::OnColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    HDC dc = (HDC)wParam;
    if (FontPending) {
        FontPending = 0;
        HFONT font = (HFONT)SendMessageW(Window, WM_GETFONT, 0, 0);
        if (font == NULL)
            font = (HFONT)GetStockObject(SYSTEM_FONT);  // what a static draws without a font
        LOGFONTW description;
        if (GetObjectW(font, sizeof(description), &description) == sizeof(description)) {
            description.lfUnderline = 1;
            UnderlineFont.Reset(CreateFontIndirectW(&description));
            // Some statics select their own font only after asking for colours, which would
            // undo the selection below; as the control's own font it holds either way.
            if (UnderlineFont.Get() != NULL)
                SendMessageW(Window, WM_SETFONT, (WPARAM)UnderlineFont.Get(), FALSE);
        }
    }
    if (UnderlineFont.Get() != NULL)
        SelectObject(dc, UnderlineFont.Get());
    SetTextColor(dc, LinkColour(Visited != 0, Colours));
    SetBkMode(dc, TRANSPARENT);
    // Lets the dialog's background show behind the text.
    return (LRESULT)GetStockObject(NULL_BRUSH);
}

LRESULT LinkLabel::OnOtherReflected(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // Answer as an unreflected window would, rather than let the static see unknown numbers.
    return DefWindowProcW(Window, message - REFLECTION_BASE, wParam, lParam);
}
