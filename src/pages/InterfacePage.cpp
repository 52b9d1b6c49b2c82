// The adapter page's display: texts, status, byte amounts and the alert of one
// InterfaceMonitor.
#include "InterfacePage.h"

#include <string.h>

#include "BoundedText.h"
#include "ByteAmountText.h"
#include "LanguageResources.h"
#include "Utf8Text.h"
#include "resource.h"

HBRUSH AlertBrush = NULL;

UINT StatusTextId(bool present, DWORD operStatus)
{
    if (!present)
        return IDS_STATUS_NOT_CONNECTED;
    switch (operStatus) {
    case 0:
        return IDS_STATUS_DISABLED;
    case 1:
        return IDS_STATUS_WAN_UNREACHABLE;
    case 2:
        return IDS_STATUS_DISCONNECTED;
    case 3:
        return IDS_STATUS_CONNECTING;
    case 4:
        return IDS_STATUS_WAN_CONNECTED;
    default:
        return IDS_STATUS_CONNECTED;
    }
}

bool AdapterConnected(bool present, DWORD operStatus)
{
    return present && operStatus >= MIB_IF_OPER_STATUS_CONNECTED;
}

namespace {

// The control of each figure.
constexpr int FigureControl[PageFigureCount] = {
    IDC_PAGE_CURRENT_IN, IDC_PAGE_PEAK_IN,    IDC_PAGE_AVERAGE_IN, IDC_PAGE_TOTAL_IN,
    IDC_PAGE_CURRENT_OUT, IDC_PAGE_PEAK_OUT,  IDC_PAGE_AVERAGE_OUT, IDC_PAGE_TOTAL_OUT,
    IDC_PAGE_TOTAL_ALL,  IDC_PAGE_STATUS,     IDC_PAGE_DURATION,   IDC_PAGE_ALERT,
};

constexpr int SinceChars = 256;

}  // namespace

HWND InterfacePage::Create(HWND tabControl)
{
    HWND page = CreateModeless(tabControl, IDD_PAGE);
    if (page == NULL)
        return NULL;
    // The template has a caption; a page must not.
    LONG style = GetWindowLongW(page, GWL_STYLE);
    if (style & WS_CAPTION)
        SetWindowLongW(page, GWL_STYLE, style & ~WS_CAPTION);
    SendMessageW(page, WM_NCACTIVATE, TRUE, 0);
    FollowLook();
    return page;
}

void InterfacePage::FollowLook()
{
    if (Window == NULL)
        return;
    // The page's group boxes come under titles of its own drawing.
    TakeGroupTitles(Window, Titles, 2, Look != nullptr ? &Look->Controls : nullptr);
    if (Look != nullptr)
        ShowColours(Window, Look->Controls);
    else
        RedrawWindow(Window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Writes a figure's control only when its text changes: a text write costs far more than a
// compare, and most figures stand still from one second to the next.
void InterfacePage::SetPageText(PageFigure figure, const char* text)
{
    char* shown = ShownText[figure];
    if (strcmp(shown, text) == 0)
        return;
    CopyText(shown, SHORT_TEXT, text);
    SetDlgItemTextW(Window, FigureControl[figure], WideText(text));
}

void InterfacePage::SetAmountText(PageFigure figure, unsigned __int64 amount)
{
    char text[SHORT_TEXT];
    FormatByteAmount(amount, "B", text, sizeof(text));
    SetPageText(figure, text);
}

void InterfacePage::Refresh()
{
    if (Window != NULL && IsWindowVisible(Window))
        ShowFigures();
}

void InterfacePage::ShowFigures()
{
    if (Window == NULL)
        return;
    InterfaceMonitor& monitor = Monitor;
    char text[SHORT_TEXT];
    if (monitor.DescrChanged) {
        char description[MAX_DESCR + 1];
        monitor.Description(description, sizeof(description));
        SetDlgItemTextW(Window, IDC_PAGE_DESCR, WideText(description));
        monitor.DescrChanged = false;
    }
    if (monitor.MacChanged) {
        monitor.MacText(text, sizeof(text));
        SetDlgItemTextW(Window, IDC_PAGE_MAC, WideText(text));
        monitor.MacChanged = false;
    }
    if (monitor.SpeedChanged) {
        FormatSpeedText(monitor.LinkSpeed, text, sizeof(text));
        SetDlgItemTextW(Window, IDC_PAGE_SPEED, WideText(text));
        monitor.SpeedChanged = false;
    }
    if (monitor.StartDay.vt == VT_DATE && monitor.StartDay.date != ShownSince) {
        ShownSince = monitor.StartDay.date;
        char since[SinceChars];
        FormatSinceText(ShownSince, since, sizeof(since));
        SetDlgItemTextW(Window, IDC_PAGE_SINCE, WideText(since));
    }
    // Loaded only when the status changes: most seconds it stays as it is.
    UINT status = StatusTextId(monitor.Present, monitor.IfRow.dwOperStatus);
    if (status != ShownStatus) {
        LoadText(status, text, sizeof(text));
        SetPageText(FigureStatus, text);
        ShownStatus = status;
    }
    BoundedPrint(text, sizeof(text), "%lu", monitor.SampleCount);
    SetPageText(FigureDuration, text);

    SetAmountText(FigureCurrentIn, monitor.CurrentIn);
    SetAmountText(FigurePeakIn, monitor.PeakIn);
    SetAmountText(FigureAverageIn, monitor.AverageIn);
    SetAmountText(FigureTotalIn, monitor.Total_in);
    SetAmountText(FigureCurrentOut, monitor.CurrentOut);
    SetAmountText(FigurePeakOut, monitor.PeakOut);
    SetAmountText(FigureAverageOut, monitor.AverageOut);
    SetAmountText(FigureTotalOut, monitor.Total_out);
    SetAmountText(FigureTotalAll, monitor.Total_in + monitor.Total_out);

    SetPageText(FigureAlert, monitor.AlertText);
}

HBRUSH InterfacePage::OnCtlColorStatic(HDC dc, HWND control, BOOL& handled)
{
    if (Monitor.AlertOn && control != NULL && control == GetDlgItem(Window, IDC_PAGE_ALERT)) {
        if (Look != nullptr)
            return Look->ForAlert(dc);
        SetBkMode(dc, TRANSPARENT);
        return AlertBrush;
    }
    // The system's own colours unless the look has its own: no further work for each paint.
    if (Look == nullptr || !Look->Custom()) {
        handled = FALSE;
        return NULL;
    }
    wchar_t className[8] = L"";
    GetClassNameW(control, className, 8);
    return Look->ForControl(dc, _wcsicmp(className, L"Edit") == 0);
}

void InterfacePage::TakeFocus()
{
    // Only in sight: in a hidden main window the focus would make it the active window and
    // blink a caret there for nobody; it comes here when the window shows (WM_SETFOCUS).
    if (Window == NULL || !IsWindowVisible(Window))
        return;
    // The dialog manager selects the whole text of an edit that it gives the focus to.
    SetFocus(Window);
    HWND focus = GetFocus();
    if (focus != NULL && IsChild(Window, focus) &&
        (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessageW(focus, EM_SETSEL, 0, 0);
}
