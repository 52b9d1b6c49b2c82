#include "GroupTitle.h"

#include <wchar.h>

namespace {

constexpr int TitleChars = 64;

}  // namespace

void GroupTitle::DrawTitle(HDC dc)
{
    if (Colours == nullptr || !Colours->Paints())
        return;
    wchar_t title[TitleChars] = L"";
    if (GetWindowTextW(Window, title, TitleChars) == 0)
        return;
    HGDIOBJ font = SelectObject(dc, (HFONT)SendMessageW(Window, WM_GETFONT, 0, 0));
    RECT text = {0, 0, 0, 0};
    DrawTextW(dc, title, -1, &text, DT_CALCRECT | DT_SINGLELINE);
    // Where the box leaves its frame open for the title: half a line in from its left edge.
    const int left = text.bottom / 2 + 1;
    RECT titleArea = {left - 2, 0, left + text.right + 2, text.bottom};
    HBRUSH back = Colours->PaintBack();
    FillRect(dc, &titleArea, back);
    RECT place = {left, 0, left + text.right, text.bottom};
    SetTextColor(dc, Colours->PaintText());
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, title, -1, &place, DT_SINGLELINE | DT_LEFT);
    SelectObject(dc, font);
}

LRESULT GroupTitle::OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    LRESULT result = DefaultProc(message, wParam, lParam);
    HDC dc = GetDC(Window);
    if (dc != NULL) {
        DrawTitle(dc);
        ReleaseDC(Window, dc);
    }
    return result;
}

LRESULT GroupTitle::OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    LRESULT result = DefaultProc(message, wParam, lParam);
    DrawTitle((HDC)wParam);
    return result;
}

void TakeGroupTitles(HWND window, GroupTitle* titles, int count, const ControlColours* colours)
{
    for (HWND child = GetWindow(window, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[8] = L"";
        GetClassNameW(child, className, 8);
        if (_wcsicmp(className, L"Button") != 0 ||
            (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX)
            continue;
        bool taken = false;
        for (int i = 0; i < count && !taken; i++)
            taken = titles[i].Window == child;
        for (int i = 0; i < count && !taken; i++)
            if (titles[i].Window == NULL) {
                titles[i].Colours = colours;
                taken = titles[i].SubclassWindow(child) != FALSE;
            }
    }
}
