#include "TabControlLook.h"

#include <commctrl.h>

namespace {

// The rectangle's outline, a pixel wide, in the brush; without its bottom when open.
void Outline(HDC dc, const RECT& area, HBRUSH brush, bool open)
{
    RECT left = {area.left, area.top, area.left + 1, area.bottom};
    RECT top = {area.left, area.top, area.right, area.top + 1};
    RECT right = {area.right - 1, area.top, area.right, area.bottom};
    RECT bottom = {area.left, area.bottom - 1, area.right, area.bottom};
    FillRect(dc, &left, brush);
    FillRect(dc, &top, brush);
    FillRect(dc, &right, brush);
    if (!open)
        FillRect(dc, &bottom, brush);
}

}  // namespace

void TabControlLook::Paint(HDC dc)
{
    RECT client;
    GetClientRect(Window, &client);
    FillRect(dc, &client, Colours->PaintBack());
    RECT display = client;
    SendMessageW(Window, TCM_ADJUSTRECT, FALSE, (LPARAM)&display);
    // The page's frame, as the control draws it: a little outside the page's place.
    RECT frame = {client.left, display.top - 2, client.right, client.bottom};
    Outline(dc, frame, Colours->PaintLine(), false);

    const int selected = (int)SendMessageW(Window, TCM_GETCURSEL, 0, 0);
    const int count = (int)SendMessageW(Window, TCM_GETITEMCOUNT, 0, 0);
    const HWND parent = GetParent(Window);
    for (int i = 0; i < count; i++) {
        RECT tab;
        if (!SendMessageW(Window, TCM_GETITEMRECT, i, (LPARAM)&tab))
            continue;
        // The selected tab stands out of its row and opens into the page.
        if (i == selected) {
            InflateRect(&tab, 2, 0);
            tab.top -= 2;
            tab.bottom += 1;
        }
        FillRect(dc, &tab, i == selected ? Colours->PaintBack() : Colours->PaintField());
        Outline(dc, tab, Colours->PaintLine(), i == selected);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_TAB;
        item.CtlID = (UINT)GetDlgCtrlID(Window);
        item.itemID = (UINT)i;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = i == selected ? ODS_SELECTED : 0;
        item.hwndItem = Window;
        item.hDC = dc;
        item.rcItem = tab;
        InflateRect(&item.rcItem, -1, -1);
        SendMessageW(parent, WM_DRAWITEM, item.CtlID, (LPARAM)&item);
    }
}
