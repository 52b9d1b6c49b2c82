#include "HistoryWindow.h"

#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "Platform.h"
#include "Settings.h"

#define ALL_ADAPTERS_TEXT "All adapters"
#define CHOOSER_TEXT_CHARS (MAX_DESCR + MAC_TEXT_CHARS + 8)
#define LINE_END_CHARS 2
// Dialog units of the layout.
#define MARGIN_UNITS 7
#define LIST_TOP_UNITS 24
#define STATUS_HEIGHT_UNITS 8
#define MIN_WIDTH_UNITS 240
#define MIN_HEIGHT_UNITS 170
#define PERIOD_COLUMN_UNITS 110
#define AMOUNT_COLUMN_UNITS 60
#define LIST_SHARE_PERCENT 55
#define NO_PLACEMENT ((int)0x80000000)

HistoryWindow::HistoryWindow()
    : Source(NULL), View(ViewDays), BillingDay(1), LoadedVersion(0), SkippedLines(0),
      ReadError(0), ChooserCount(0)
{
    Mac[0] = 0;
    StatusText[0] = 0;
}

HWND HistoryWindow::Open(HWND owner, const UsageHistory* source)
{
    if (Window != NULL) {
        ShowWindow(Window, IsIconic(Window) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(Window);
        return Window;
    }
    Source = source;
    HWND window = CreateModeless(owner, IDD_HISTORY);
    if (window == NULL)
        return NULL;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    Update(TRUE);
    return window;
}

int HistoryWindow::DialogUnitsX(int units)
{
    RECT rect = {0, 0, units, 0};
    MapDialogRect(Window, &rect);
    return rect.right;
}

int HistoryWindow::DialogUnitsY(int units)
{
    RECT rect = {0, 0, 0, units};
    MapDialogRect(Window, &rect);
    return rect.bottom;
}

LRESULT HistoryWindow::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND list = GetDlgItem(Window, IDC_HIST_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    static const char* const titles[HistoryColumnCount] = {"", "IN", "OUT", "Total"};
    for (int column = 0; column < HistoryColumnCount; column++) {
        LVCOLUMNA item = {};
        item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        item.fmt = column == ColumnPeriod ? LVCFMT_LEFT : LVCFMT_RIGHT;
        item.cx = DialogUnitsX(column == ColumnPeriod ? PERIOD_COLUMN_UNITS : AMOUNT_COLUMN_UNITS);
        item.pszText = (LPSTR)titles[column];
        item.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, (LPARAM)&item);
    }
    Chart.Create(Window, IDC_HIST_CHART);
    // The chart comes after the list in the Tab order, which it does not join.
    if (Chart.Window != NULL)
        SetWindowPos(Chart.Window, list, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CheckRadioButton(Window, IDC_HIST_DAYS, IDC_HIST_YEARS, IDC_HIST_DAYS);
    View = ViewDays;
    Mac[0] = 0;
    BillingDay = BillingDayOf(Settings.ResetType, Settings.ResetDate.wDay);
    SetColumnTitle();
    LoadTable();
    FillChooser();
    RestorePlacement();
    RECT client;
    GetClientRect(Window, &client);
    Layout(client.right, client.bottom);
    return TRUE;
}

void HistoryWindow::LoadTable()
{
    char path[PATH_CHARS];
    SkippedLines = 0;
    ReadError = 0;
    LoadedVersion = Source != NULL ? Source->FinishedVersion : 0;
    if (!HistoryPathFor(IniPath, path, sizeof(path))) {
        Table.Clear();
        return;
    }
    if (!Table.ReadFile(path, &SkippedLines))
        ReadError = GetLastError() != 0 ? GetLastError() : ERROR_READ_FAULT;
}

void HistoryWindow::AddChooserItem(const char* mac, const char* description)
{
    for (int i = 0; i < ChooserCount; i++)
        if (strcmp(ChooserMacs[i], mac) == 0)
            return;
    if (ChooserCount >= MAX_CHOOSER_ADAPTERS)
        return;
    HWND chooser = GetDlgItem(Window, IDC_HIST_ADAPTER);
    char text[CHOOSER_TEXT_CHARS];
    if (description[0] != 0)
        BoundedPrint(text, sizeof(text), "%s (%s)", description, mac);
    else
        BoundedPrint(text, sizeof(text), "%s", mac);
    LRESULT item = SendMessageA(chooser, CB_ADDSTRING, 0, (LPARAM)text);
    if (item < 0)
        return;
    CopyText(ChooserMacs[ChooserCount], MAC_TEXT_CHARS, mac);
    SendMessageA(chooser, CB_SETITEMDATA, item, ChooserCount);
    ChooserCount++;
}

void HistoryWindow::FillChooser()
{
    HWND chooser = GetDlgItem(Window, IDC_HIST_ADAPTER);
    SendMessageA(chooser, CB_RESETCONTENT, 0, 0);
    ChooserCount = 0;
    LRESULT all = SendMessageA(chooser, CB_ADDSTRING, 0, (LPARAM)ALL_ADAPTERS_TEXT);
    SendMessageA(chooser, CB_SETITEMDATA, all, (LPARAM)-1);
    // Today's adapters first, as they are named now; then the others, the latest first.
    if (Source != NULL)
        for (int i = Source->RunningCount - 1; i >= 0; i--)
            AddChooserItem(Source->Running[i].Mac, Source->Running[i].Description);
    for (int i = Table.RecordCount - 1; i >= 0; i--) {
        const HistoryName& name = Table.Names[Table.Records[i].Name];
        AddChooserItem(name.Mac, name.Description);
    }
    SendMessageA(chooser, CB_SETCURSEL, all, 0);
    Mac[0] = 0;
}

void HistoryWindow::SetColumnTitle()
{
    char title[PERIOD_TEXT_CHARS];
    FormatPeriodTitle(View, BillingDay, title, sizeof(title));
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    SendDlgItemMessageA(Window, IDC_HIST_LIST, LVM_SETCOLUMNA, ColumnPeriod, (LPARAM)&column);
}

void HistoryWindow::Refresh()
{
    if (Window == NULL || !IsWindowVisible(Window) || IsIconic(Window))
        return;
    Update(FALSE);
}

void HistoryWindow::Update(int rebuild)
{
    if (Window == NULL)
        return;
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int today = 0;
    int knowToday = DayOfTime(&now, &today);
    int billingDay = BillingDayOf(Settings.ResetType, Settings.ResetDate.wDay);
    if (billingDay != BillingDay) {
        BillingDay = billingDay;
        SetColumnTitle();
        rebuild = 1;
    }
    // A day has ended and gone into the file since it was read.
    if (Source != NULL && Source->FinishedVersion != LoadedVersion) {
        LoadTable();
        rebuild = 1;
    }
    if (Source != NULL)
        for (int i = 0; i < Source->RunningCount; i++)
            AddChooserItem(Source->Running[i].Mac, Source->Running[i].Description);

    const char* mac = Mac[0] != 0 ? Mac : NULL;
    if (rebuild)
        BuildPeriodRows(Table, mac, View, BillingDay, &Base);
    Fresh.CopyFrom(Base);
    if (Source != NULL)
        AddRunningDays(*Source, Table, mac, View, BillingDay, &Fresh);
    ShowRows(Fresh, rebuild);
    if (knowToday)
        ShowChart(today);
    ShowStatus();
}

void HistoryWindow::ShowRows(const PeriodRows& rows, int rebuild)
{
    HWND list = GetDlgItem(Window, IDC_HIST_LIST);
    if (rebuild || rows.Count != Shown.Count) {
        Shown.CopyFrom(rows);
        SendMessageA(list, LVM_SETITEMCOUNT, Shown.Count, LVSICF_NOSCROLL);
        InvalidateRect(list, NULL, FALSE);
        return;
    }
    // Mostly only today's row grows: only the rows that changed are drawn again.
    int first = -1, last = -1;
    for (int i = 0; i < rows.Count; i++) {
        if (memcmp(&rows.Rows[i], &Shown.Rows[i], sizeof(PeriodRow)) != 0) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return;
    Shown.CopyFrom(rows);
    SendMessageA(list, LVM_REDRAWITEMS, first, last);
}

void HistoryWindow::ShowChart(int today)
{
    ChartBar bars[MAX_CHART_BARS];
    int count = ChartBarCount(View);
    if (count > MAX_CHART_BARS)
        count = MAX_CHART_BARS;
    ChartBarsOf(Shown, today, View, BillingDay, bars, count);
    int last = PeriodStart(today, View, BillingDay);
    int first = last;
    for (int i = 1; i < count; i++)
        first = PreviousPeriodStart(first, View, BillingDay);
    char firstText[PERIOD_TEXT_CHARS], lastText[PERIOD_TEXT_CHARS];
    FormatPeriodText(first, View, BillingDay, firstText, sizeof(firstText));
    FormatPeriodText(last, View, BillingDay, lastText, sizeof(lastText));
    Chart.SetBars(bars, count, firstText, lastText);
}

void HistoryWindow::ShowStatus()
{
    char text[STATUS_TEXT_CHARS];
    text[0] = 0;
    if (Source != NULL && Source->LastError != 0)
        BoundedPrint(text, sizeof(text),
                     "The history file could not be written (error %lu); the finished days "
                     "wait in the INI file and are tried again every minute.",
                     Source->LastError);
    else if (ReadError != 0)
        BoundedPrint(text, sizeof(text), "The history file could not be read (error %lu).",
                     ReadError);
    else if (SkippedLines > 0)
        BoundedPrint(text, sizeof(text),
                     "%d lines of the history file are no history lines and are left out.",
                     SkippedLines);
    if (strcmp(text, StatusText) != 0) {
        CopyText(StatusText, sizeof(StatusText), text);
        SetDlgItemTextA(Window, IDC_HIST_STATUS, text);
    }
}

void HistoryWindow::ShowView(int view)
{
    if (view < 0 || view >= HistoryViewCount)
        return;
    CheckRadioButton(Window, IDC_HIST_DAYS, IDC_HIST_YEARS, IDC_HIST_DAYS + view);
    View = view;
    SetColumnTitle();
    Update(TRUE);
}

LRESULT HistoryWindow::OnAdapterChange(WORD, WORD, HWND, BOOL&)
{
    HWND chooser = GetDlgItem(Window, IDC_HIST_ADAPTER);
    LRESULT item = SendMessageA(chooser, CB_GETCURSEL, 0, 0);
    LRESULT index = item >= 0 ? SendMessageA(chooser, CB_GETITEMDATA, item, 0) : -1;
    CopyText(Mac, sizeof(Mac), index >= 0 && index < ChooserCount ? ChooserMacs[index] : "");
    Update(TRUE);
    return 0;
}

LRESULT HistoryWindow::OnViewClick(WORD, WORD id, HWND, BOOL&)
{
    ShowView(id - IDC_HIST_DAYS);
    return 0;
}

void HistoryWindow::FillItemText(int item, int column, char* buffer, size_t size)
{
    if (size == 0)
        return;
    buffer[0] = 0;
    if (item < 0 || item >= Shown.Count)
        return;
    const PeriodRow& row = Shown.Rows[item];
    switch (column) {
    case ColumnPeriod:
        FormatPeriodText(row.Start, View, BillingDay, buffer, size);
        break;
    case ColumnIn:
        FormatReportAmount(row.In, buffer, size);
        break;
    case ColumnOut:
        FormatReportAmount(row.Out, buffer, size);
        break;
    case ColumnTotal:
        FormatReportAmount(RowTotal(row), buffer, size);
        break;
    default:
        break;
    }
}

LRESULT HistoryWindow::OnGetDispInfoA(int, NMHDR* header, BOOL&)
{
    NMLVDISPINFOA* info = (NMLVDISPINFOA*)header;
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText != NULL && info->item.cchTextMax > 0)
        FillItemText(info->item.iItem, info->item.iSubItem, info->item.pszText,
                     (size_t)info->item.cchTextMax);
    return 0;
}

LRESULT HistoryWindow::OnGetDispInfoW(int, NMHDR* header, BOOL&)
{
    NMLVDISPINFOW* info = (NMLVDISPINFOW*)header;
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText != NULL &&
        info->item.cchTextMax > 0) {
        char text[PERIOD_TEXT_CHARS];
        FillItemText(info->item.iItem, info->item.iSubItem, text, sizeof(text));
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, info->item.pszText,
                                info->item.cchTextMax) == 0)
            info->item.pszText[0] = 0;
    }
    return 0;
}

char* HistoryWindow::SelectedRowsText(DWORD* length)
{
    *length = 0;
    HWND list = GetDlgItem(Window, IDC_HIST_LIST);
    int selected = (int)SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected <= 0)
        return NULL;
    size_t size = (size_t)selected * (REPORT_LINE_CHARS + LINE_END_CHARS) + 1;
    char* text = (char*)HeapAlloc(GetProcessHeap(), 0, size);
    if (text == NULL)
        return NULL;
    size_t used = 0;
    text[0] = 0;
    for (int item = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
         item >= 0 && item < Shown.Count;
         item = (int)SendMessageA(list, LVM_GETNEXTITEM, item, LVNI_SELECTED)) {
        used += FormatReportLine(Shown.Rows[item], View, BillingDay, text + used, size - used);
        used += BoundedPrint(text + used, size - used, "\r\n");
    }
    *length = (DWORD)used;
    return text;
}

int HistoryWindow::CopySelection()
{
    DWORD length = 0;
    char* text = SelectedRowsText(&length);
    if (text == NULL)
        return 0;
    int ok = 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)length + 1);
    if (block != NULL) {
        char* target = (char*)GlobalLock(block);
        if (target != NULL) {
            memcpy(target, text, (size_t)length + 1);
            GlobalUnlock(block);
            if (OpenClipboard(Window)) {
                EmptyClipboard();
                ok = SetClipboardData(CF_TEXT, block) != NULL;
                CloseClipboard();
            }
        }
        if (!ok)
            GlobalFree(block);
    }
    HeapFree(GetProcessHeap(), 0, text);
    return ok;
}

LRESULT HistoryWindow::OnListKeyDown(int, NMHDR* header, BOOL&)
{
    const NMLVKEYDOWN* key = (const NMLVKEYDOWN*)header;
    if (GetKeyState(VK_CONTROL) >= 0)
        return 0;
    if (key->wVKey == 'C') {
        CopySelection();
    } else if (key->wVKey == 'A') {
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendDlgItemMessageA(Window, IDC_HIST_LIST, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    }
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
    AdjustWindowRectEx(&least, (DWORD)GetWindowLongA(Window, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongA(Window, GWL_EXSTYLE));
    info->ptMinTrackSize.x = least.right - least.left;
    info->ptMinTrackSize.y = least.bottom - least.top;
    return 0;
}

void HistoryWindow::RestorePlacement()
{
    if (IniPath[0] == 0)
        return;
    int left = (int)GetPrivateProfileIntA(HISTORY_WINDOW_SECTION, "Left", NO_PLACEMENT, IniPath);
    int top = (int)GetPrivateProfileIntA(HISTORY_WINDOW_SECTION, "Top", NO_PLACEMENT, IniPath);
    int width = (int)GetPrivateProfileIntA(HISTORY_WINDOW_SECTION, "Width", 0, IniPath);
    int height = (int)GetPrivateProfileIntA(HISTORY_WINDOW_SECTION, "Height", 0, IniPath);
    if (left == NO_PLACEMENT || top == NO_PLACEMENT || width <= 0 || height <= 0)
        return;
    // A place on a screen that is no longer there would leave the window out of reach.
    RECT place = {left, top, left + width, top + height};
    if (MonitorFromRect(&place, MONITOR_DEFAULTTONULL) == NULL)
        return;
    SetWindowPos(Window, NULL, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

static void WritePlacement(IniDocument& document, void* placeRecord)
{
    const RECT& place = *(const RECT*)placeRecord;
    char text[SHORT_TEXT];
    BoundedPrint(text, sizeof(text), "%ld", place.left);
    document.Set(HISTORY_WINDOW_SECTION, "Left", text);
    BoundedPrint(text, sizeof(text), "%ld", place.top);
    document.Set(HISTORY_WINDOW_SECTION, "Top", text);
    BoundedPrint(text, sizeof(text), "%ld", place.right - place.left);
    document.Set(HISTORY_WINDOW_SECTION, "Width", text);
    BoundedPrint(text, sizeof(text), "%ld", place.bottom - place.top);
    document.Set(HISTORY_WINDOW_SECTION, "Height", text);
}

void HistoryWindow::SavePlacement()
{
    if (IniPath[0] == 0)
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(Window, &placement))
        return;
    // A place that cannot be saved now is no loss of data: the next closing saves it.
    Settings.SaveIni(WritePlacement, &placement.rcNormalPosition);
}

LRESULT HistoryWindow::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
    DestroyWindow(Window);
    return 0;
}

LRESULT HistoryWindow::OnCancel(WORD, WORD, HWND, BOOL&)
{
    DestroyWindow(Window);
    return 0;
}

LRESULT HistoryWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    SavePlacement();
    // The file's days are read again at the next opening: nothing stays in memory meanwhile.
    Table.Clear();
    Base.Clear();
    Shown.Clear();
    Fresh.Clear();
    ChooserCount = 0;
    StatusText[0] = 0;
    return 0;
}
