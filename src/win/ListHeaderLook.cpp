#include "ListHeaderLook.h"

#include <commctrl.h>

namespace {

constexpr int TitleChars = 128;

// A line a pixel wide or high, in the brush.
void FillLine(HDC dc, int left, int top, int right, int bottom, HBRUSH brush)
{
    RECT line = {left, top, right, bottom};
    FillRect(dc, &line, brush);
}

}  // namespace

bool ListHeaderLook::Take(HWND list, const ControlColours* colours)
{
    Colours = colours;
    HWND header = (HWND)SendMessageW(list, LVM_GETHEADER, 0, 0);
    return header != NULL && (Window == header || SubclassWindow(header));
}

void ListHeaderLook::Paint(HDC dc)
{
    RECT client;
    GetClientRect(Window, &client);
    FillRect(dc, &client, Colours->PaintBack());
    SelectedObject font(dc, (HFONT)SendMessageW(Window, WM_GETFONT, 0, 0));
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previous = SetTextColor(dc, Colours->PaintText());
    // Room beside a title, about the header's own: an average character.
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const int margin = metrics.tmAveCharWidth;
    const int count = (int)SendMessageW(Window, HDM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        RECT item;
        if (!SendMessageW(Window, HDM_GETITEMRECT, i, (LPARAM)&item))
            continue;
        wchar_t title[TitleChars] = L"";
        HDITEMW fields = {};
        fields.mask = HDI_TEXT | HDI_FORMAT;
        fields.pszText = title;
        fields.cchTextMax = TitleChars;
        SendMessageW(Window, HDM_GETITEMW, i, (LPARAM)&fields);
        const int align = (fields.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                          : (fields.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                         : DT_LEFT;
        RECT text = {item.left + margin, item.top, item.right - margin, item.bottom};
        DrawTextW(dc, title, -1, &text,
                  align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        FillLine(dc, item.right - 1, item.top, item.right, item.bottom, Colours->PaintLine());
    }
    FillLine(dc, client.left, client.bottom - 1, client.right, client.bottom, Colours->PaintLine());
    SetTextColor(dc, previous);
    SetBkMode(dc, mode);
}
