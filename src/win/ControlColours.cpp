#include "ControlColours.h"

#include <commctrl.h>
#include <wchar.h>

#include "Contrast.h"
#include "ControlTheme.h"
#include "DarkTitleBar.h"

namespace {

constexpr int ClassChars = 16;
constexpr int ButtonTextChars = 128;

bool ClassIs(HWND control, const wchar_t* name)
{
    wchar_t className[ClassChars] = L"";
    GetClassNameW(control, className, ClassChars);
    return _wcsicmp(className, name) == 0;
}

// Whether a button is one whose theme draws its text in a colour of its own.
bool ThemedLabelButton(HWND control)
{
    if (!ClassIs(control, L"Button"))
        return false;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE ||
           type == BS_GROUPBOX;
}

// A control that draws in its theme's colours whatever it is told: classic in the custom
// look, and in high contrast, where Windows itself draws without themes.
bool ThemeIgnoresColours(HWND control)
{
    return ThemedLabelButton(control) || ClassIs(control, L"ComboBox") ||
           ClassIs(control, WC_TABCONTROLW) || ClassIs(control, WC_HEADERW);
}

void ShowListColours(HWND list, const ControlColours& colours)
{
    const COLORREF back = colours.Custom ? colours.Colours.FieldBack : GetSysColor(COLOR_WINDOW);
    const COLORREF text = colours.Custom ? colours.Colours.Text : GetSysColor(COLOR_WINDOWTEXT);
    SendMessageW(list, LVM_SETBKCOLOR, 0, back);
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, back);
    SendMessageW(list, LVM_SETTEXTCOLOR, 0, text);
}

// Enumeration callback: one control of the window, whatever its depth, takes up the colours.
BOOL CALLBACK ShowColoursOnControl(HWND control, LPARAM parameter)
{
    const ControlColours& colours = *(const ControlColours*)parameter;
    // The common controls keep the system's colours until they hear of a change, which only
    // their top-level window is told of.
    SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
    if (ThemeIgnoresColours(control))
        UseClassicTheme(control, colours.Custom || colours.Current == LookHighContrast);
    else if (ClassIs(control, WC_LISTVIEWW))
        ShowListColours(control, colours);
    return TRUE;
}

}  // namespace

void ControlColours::Apply(Look look, const Palette& palette)
{
    Colours = palette;
    Current = look;
    Custom = look == LookDark;
    BackBrush.Reset(Custom ? CreateSolidBrush(palette.Back) : NULL);
    FieldBrush.Reset(Custom ? CreateSolidBrush(palette.FieldBack) : NULL);
    LineBrush.Reset(Custom ? CreateSolidBrush(palette.DimText) : NULL);
}

HBRUSH ControlColours::Answer(UINT message, HDC dc, HWND control) const
{
    if (!Custom || message == WM_CTLCOLORSCROLLBAR || message == WM_CTLCOLORMSGBOX)
        return NULL;
    // A read-only or disabled edit asks as a static does, yet is a field.
    const bool field =
        message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
        (message == WM_CTLCOLORSTATIC && control != NULL && ClassIs(control, L"Edit"));
    SetTextColor(dc, Colours.Text);
    SetBkColor(dc, field ? Colours.FieldBack : Colours.Back);
    return field ? FieldBrush.Get() : BackBrush.Get();
}

LRESULT AnswerColourMessage(const ControlColours* colours, UINT message, WPARAM wParam,
                            LPARAM lParam, BOOL& handled)
{
    HBRUSH brush = colours != nullptr ? colours->Answer(message, (HDC)wParam, (HWND)lParam) : NULL;
    handled = brush != NULL;
    return (LRESULT)brush;
}

LRESULT DrawPushButton(const ControlColours* colours, NMHDR* header, BOOL& handled)
{
    NMCUSTOMDRAW* draw = (NMCUSTOMDRAW*)header;
    const LONG type = GetWindowLongW(header->hwndFrom, GWL_STYLE) & BS_TYPEMASK;
    if (colours == nullptr || !colours->Custom || draw->dwDrawStage != CDDS_PREPAINT ||
        !ClassIs(header->hwndFrom, L"Button") ||
        (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON)) {
        handled = FALSE;
        return CDRF_DODEFAULT;
    }
    const HWND button = header->hwndFrom;
    const HDC dc = draw->hdc;
    RECT area = draw->rc;
    const bool pressed = (draw->uItemState & CDIS_SELECTED) != 0;
    const bool enabled = IsWindowEnabled(button) != FALSE;
    FillRect(dc, &area, pressed ? colours->PaintBack() : colours->PaintField());
    FrameRect(dc, &area, colours->PaintLine());
    if (type == BS_DEFPUSHBUTTON) {  // the button Enter presses: a second frame
        InflateRect(&area, -1, -1);
        FrameRect(dc, &area, colours->PaintLine());
    }
    wchar_t text[ButtonTextChars] = L"";
    GetWindowTextW(button, text, ButtonTextChars);
    const LRESULT cues = SendMessageW(button, WM_QUERYUISTATE, 0, 0);
    SelectedObject font(dc, (HFONT)SendMessageW(button, WM_GETFONT, 0, 0));
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previous = SetTextColor(
        dc, enabled ? colours->Colours.Text
                    : ReadableDim(colours->Colours.DimText, colours->Colours.Text,
                                  colours->Colours.FieldBack));
    const UINT prefix = (cues & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
    SetTextColor(dc, previous);
    SetBkMode(dc, mode);
    if ((draw->uItemState & CDIS_FOCUS) && !(cues & UISF_HIDEFOCUS)) {
        InflateRect(&area, -2, -2);
        DrawFocusRect(dc, &area);
    }
    return CDRF_SKIPDEFAULT;
}

void ShowColours(HWND window, const ControlColours& colours)
{
    if (window == NULL)
        return;
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
        UseDarkTitleBar(window, colours.Colours.Dark);
    EnumChildWindows(window, ShowColoursOnControl, (LPARAM)&colours);
    RedrawWindow(window, NULL, NULL,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
