// The history window's layout for its DPI and size, and its place kept in the INI file in
// 96-DPI units, in the screen coordinates it is restored in.
#include "HistoryWindow.h"

#include "Platform.h"
#include "Utf8Text.h"

// Dialog units of the layout.
#define MARGIN_UNITS 7
#define LIST_TOP_UNITS 36
#define STATUS_HEIGHT_UNITS 8
#define MIN_WIDTH_UNITS 240
#define MIN_HEIGHT_UNITS 170
#define PERIOD_COLUMN_UNITS 110
#define AMOUNT_COLUMN_UNITS 60
#define LIST_SHARE_PERCENT 55
// The most work areas looked at: more monitors than anyone has.
#define MAX_WORK_AREAS 16

void HistoryWindow::FitToDpi()
{
    const DpiFunctions& functions = SystemDpiFunctions();
    UINT dpi = DpiForWindow(functions, Window);
    SetWindowIconsForDpi(functions, Window, WindowModule.Instance, IDI_PROGRAM, dpi, &SmallIcon,
                         &BigIcon);
    HWND list = GetDlgItem(Window, IDC_HIST_LIST);
    for (int column = 0; column < HistoryColumnCount; column++)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column,
                     DialogUnitsX(column == ColumnPeriod ? PERIOD_COLUMN_UNITS
                                                         : AMOUNT_COLUMN_UNITS));
    FitChooserWidth();
}

LRESULT HistoryWindow::OnDpiChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    const RECT* suggested = (const RECT*)lParam;
    if (suggested != NULL)
        SetWindowPos(Window, NULL, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    // The dialog manager makes its fonts anew; the icons and columns follow once it has.
    PostMessageW(Window, HISTORY_DPI_FOLLOWED, 0, 0);
    handled = FALSE;
    return 0;
}

LRESULT HistoryWindow::OnDpiFollowed(UINT, WPARAM, LPARAM, BOOL&)
{
    FitToDpi();
    RECT client;
    GetClientRect(Window, &client);
    Layout(client.right, client.bottom);
    return 0;
}

void HistoryWindow::Layout(int width, int height)
{
    int margin = DialogUnitsX(MARGIN_UNITS);
    int gap = DialogUnitsY(MARGIN_UNITS) / 2;
    int top = DialogUnitsY(LIST_TOP_UNITS);
    int status = DialogUnitsY(STATUS_HEIGHT_UNITS);
    int inner = width - 2 * margin;
    int room = height - top - status - 3 * gap;
    if (inner < 0)
        inner = 0;
    if (room < 0)
        room = 0;
    int listHeight = room * LIST_SHARE_PERCENT / 100;
    int chartHeight = room - listHeight;
    HDWP positions = BeginDeferWindowPos(3);
    HWND list = GetDlgItem(Window, IDC_HIST_LIST);
    HWND statusLine = GetDlgItem(Window, IDC_HIST_STATUS);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (positions != NULL && list != NULL)
        positions = DeferWindowPos(positions, list, NULL, margin, top, inner, listHeight, flags);
    if (positions != NULL && Chart.Window != NULL)
        positions = DeferWindowPos(positions, Chart.Window, NULL, margin,
                                   top + listHeight + gap, inner, chartHeight, flags);
    if (positions != NULL && statusLine != NULL)
        positions = DeferWindowPos(positions, statusLine, NULL, margin,
                                   top + listHeight + gap + chartHeight + gap, inner, status,
                                   flags);
    if (positions != NULL)
        EndDeferWindowPos(positions);
}

LRESULT HistoryWindow::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (wParam != SIZE_MINIMIZED)
        Layout(LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT HistoryWindow::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    MINMAXINFO* info = (MINMAXINFO*)lParam;
    RECT least = {0, 0, DialogUnitsX(MIN_WIDTH_UNITS), DialogUnitsY(MIN_HEIGHT_UNITS)};
    AdjustWindowRectEx(&least, (DWORD)GetWindowLongW(Window, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongW(Window, GWL_EXSTYLE));
    info->ptMinTrackSize.x = least.right - least.left;
    info->ptMinTrackSize.y = least.bottom - least.top;
    return 0;
}

void HistoryWindow::RestorePlacement()
{
    if (Links.IniPath == NULL || Links.IniPath[0] == 0 || Links.ReadPlaceText == NULL)
        return;
    char texts[PlaceKeyCount][16];
    const char* values[PlaceKeyCount];
    for (int i = 0; i < PlaceKeyCount; i++) {
        Links.ReadPlaceText(PlaceKeys[i], texts[i], sizeof(texts[i]));
        values[i] = texts[i];
    }
    WindowPlace place;
    if (!ParseWindowPlace(values, &place))
        return;
    const DpiFunctions& functions = SystemDpiFunctions();
    WorkArea areas[MAX_WORK_AREAS];
    size_t count = Links.WorkAreas != NULL ? Links.WorkAreas(areas, MAX_WORK_AREAS)
                                           : CollectWorkAreas(functions, areas, MAX_WORK_AREAS);
    // In screen coordinates, as it was saved; a place off every screen comes back onto one.
    RECT r = PlaceOnWorkArea(place, DpiForSystem(functions), areas, count);
    SetWindowPos(Window, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void HistoryWindow::SavePlacement()
{
    if (Links.IniPath == NULL || Links.IniPath[0] == 0 || Links.SavePlace == NULL)
        return;
    RECT r;
    if (!NormalWindowRect(Window, &r))
        return;
    const DpiFunctions& functions = SystemDpiFunctions();
    // A place that cannot be saved now is no loss of data: the next closing saves it.
    Links.SavePlace(PlaceOfWindow(r, DpiForSystem(functions), DpiForWindow(functions, Window)));
}

