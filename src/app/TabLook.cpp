#include "TabLook.h"

#include <commctrl.h>
#include <limits.h>

#include "BoundedText.h"
#include "Contrast.h"
#include "LanguageResources.h"
#include "Utf8Text.h"

namespace {

constexpr int TabTextChars = 64;

bool Connected(const InterfaceMonitor& monitor)
{
    return AdapterConnected(monitor.Present, monitor.IfRow.dwOperStatus);
}

}  // namespace

void FormatTabTip(const InterfaceMonitor& monitor, char* tip, size_t size)
{
    char description[MAX_DESCR + 1];
    monitor.Description(description, sizeof(description));
    char status[SHORT_TEXT * 3];
    LoadText(StatusTextId(monitor.Present, monitor.IfRow.dwOperStatus), status, sizeof(status));
    BoundedPrint(tip, size, "%s\n%s", description, status);
}

void DrawTab(const TabStrip& tabs, const DRAWITEMSTRUCT& item)
{
    wchar_t text[TabTextChars] = L"";
    TCITEMW tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = TabTextChars;
    SendMessageW(item.hwndItem, TCM_GETITEMW, item.itemID, (LPARAM)&tab);
    const InterfaceMonitor* monitor = tabs.MonitorAt((int)item.itemID);
    // The system's pairs, or the look's own colours where it has them.
    const ControlColours* colours = tabs.Look != nullptr ? &tabs.Look->Controls : nullptr;
    const bool own = colours != nullptr && colours->Custom;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    COLORREF colour = own ? colours->Colours.Text : GetSysColor(COLOR_BTNTEXT);
    const COLORREF back = !own      ? GetSysColor(COLOR_BTNFACE)
                          : selected ? colours->Colours.Back
                                     : colours->Colours.FieldBack;
    const COLORREF dim = own ? colours->Colours.DimText : GetSysColor(COLOR_GRAYTEXT);
    if (monitor != nullptr && !Connected(*monitor))
        colour = ReadableDim(dim, colour, back);
    RECT area = item.rcItem;
    HGDIOBJ font = SelectObject(item.hDC, (HFONT)SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    int mode = SetBkMode(item.hDC, TRANSPARENT);
    COLORREF previous = SetTextColor(item.hDC, colour);
    DrawTextW(item.hDC, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(item.hDC, previous);
    SetBkMode(item.hDC, mode);
    SelectObject(item.hDC, font);
}

void ShowTabStates(const TabStrip& tabs)
{
    for (int position = 0; position < tabs.Count(); position++) {
        InterfacePage* page = tabs.PageAt(position);
        bool connected = Connected(page->Monitor);
        if (connected == page->TabConnected)
            continue;
        page->TabConnected = connected;
        RECT area;
        if (SendMessageW(tabs.Control, TCM_GETITEMRECT, position, (LPARAM)&area)) {
            InflateRect(&area, 2, 2);  // the selected tab stands out of its row
            InvalidateRect(tabs.Control, &area, TRUE);
        }
    }
}

void TabTips::Prepare(HWND tabControl)
{
    HWND tips = (HWND)SendMessageW(tabControl, TCM_GETTOOLTIPS, 0, 0);
    if (tips != NULL)
        SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
}

bool TabTips::Answer(const TabStrip& tabs, NMHDR* header)
{
    if (tabs.Control == NULL || header->hwndFrom == NULL ||
        header->hwndFrom != (HWND)SendMessageW(tabs.Control, TCM_GETTOOLTIPS, 0, 0))
        return false;
    NMTTDISPINFOW* info = (NMTTDISPINFOW*)header;
    const InterfaceMonitor* monitor = tabs.MonitorAt((int)header->idFrom);
    char tip[sizeof(Text) / sizeof(Text[0])] = "";
    if (monitor != nullptr)
        FormatTabTip(*monitor, tip, sizeof(tip));
    Utf8ToWide(tip, Text, sizeof(Text) / sizeof(Text[0]));
    info->lpszText = Text;
    return true;
}
