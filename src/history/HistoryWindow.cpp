// The history window: its opening, the adapter chooser, the views, the layout and its place.
#include "HistoryWindow.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "Platform.h"
#include "Utf8Text.h"

#define ALL_ADAPTERS_TEXT L"All adapters"
#define CHOOSER_TEXT_CHARS (DESCRIPTION_CHARS + MAC_TEXT_CHARS + 8)
// Dialog units of the layout.
#define MARGIN_UNITS 7
#define LIST_TOP_UNITS 24
#define STATUS_HEIGHT_UNITS 8
#define MIN_WIDTH_UNITS 240
#define MIN_HEIGHT_UNITS 170
#define PERIOD_COLUMN_UNITS 110
#define AMOUNT_COLUMN_UNITS 60
#define LIST_SHARE_PERCENT 55
// The most work areas looked at: more monitors than anyone has.
#define MAX_WORK_AREAS 16
// Room in the dropped list beside the longest entry's text, in 96-DPI pixels.
#define CHOOSER_TEXT_MARGIN 8
#define FORECAST_REFRESH_MS 60000
#define SECONDS_PER_HOUR 3600
#define SECONDS_PER_MINUTE 60

HistoryWindow::HistoryWindow()
    : Source(NULL), Links(), View(ViewDays), BillingDay(1), LoadedVersion(0), SkippedLines(0),
      ForeignFile(0), ReadError(0), ChooserCount(0), ForecastTick(0), ForecastDay(0)
{
    Mac[0] = 0;
    LoadedPath[0] = 0;
    StatusText[0] = 0;
    ForecastText[0] = 0;
}

HWND HistoryWindow::Open(HWND owner, const UsageHistory* source, const HistoryLinks& links)
{
    if (Window != NULL) {
        ShowWindow(Window, IsIconic(Window) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(Window);
        return Window;
    }
    Source = source;
    Links = links;
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
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    static const wchar_t* const titles[HistoryColumnCount] = {L"", L"IN", L"OUT", L"Total"};
    for (int column = 0; column < HistoryColumnCount; column++) {
        LVCOLUMNW item = {};
        item.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
        item.fmt = column == ColumnPeriod ? LVCFMT_LEFT : LVCFMT_RIGHT;
        item.pszText = (LPWSTR)titles[column];
        item.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, column, (LPARAM)&item);
    }
    FitToDpi();
    Chart.Create(Window, IDC_HIST_CHART);
    // The chart comes after the list in the Tab order, which it does not join.
    if (Chart.Window != NULL)
        SetWindowPos(Chart.Window, list, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CheckRadioButton(Window, IDC_HIST_DAYS, IDC_HIST_YEARS, IDC_HIST_DAYS);
    View = ViewDays;
    Mac[0] = 0;
    BillingDay = Links.BillingDay();
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
    ForeignFile = 0;
    LoadedPath[0] = 0;
    if (!HistoryPathFor(Links.IniPath, path, sizeof(path))) {
        Table.Clear();
        return;
    }
    CopyText(LoadedPath, sizeof(LoadedPath), path);
    int read = Table.ReadFile(path, &SkippedLines);
    if (read == HistoryReadFailed)
        ReadError = GetLastError() != 0 ? GetLastError() : ERROR_READ_FAULT;
    ForeignFile = read == HistoryReadForeign;
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
    char tab[TAB_NAME_CHARS];
    // Named as its tab names it where it has one; the description says which it is.
    if (Links.TabName != NULL && Links.TabName(Links.TabNameContext, mac, tab, sizeof(tab)) &&
        tab[0] != 0)
        BoundedPrint(text, sizeof(text), "%s - %s", tab, description[0] != 0 ? description : mac);
    else if (description[0] != 0)
        BoundedPrint(text, sizeof(text), "%s (%s)", description, mac);
    else
        BoundedPrint(text, sizeof(text), "%s", mac);
    LRESULT item = SendMessageW(chooser, CB_ADDSTRING, 0, (LPARAM)WideText(text).Get());
    if (item < 0)
        return;
    CopyText(ChooserMacs[ChooserCount], MAC_TEXT_CHARS, mac);
    SendMessageW(chooser, CB_SETITEMDATA, item, ChooserCount);
    ChooserCount++;
    FitChooserWidth();
}

void HistoryWindow::FitChooserWidth()
{
    HWND chooser = GetDlgItem(Window, IDC_HIST_ADAPTER);
    WindowDc dc(chooser);
    if (dc.Get() == NULL)
        return;
    SelectedObject font(dc.Get(), (HFONT)SendMessageW(chooser, WM_GETFONT, 0, 0));
    int widest = 0;
    int count = (int)SendMessageW(chooser, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        wchar_t text[CHOOSER_TEXT_CHARS];
        LRESULT length = SendMessageW(chooser, CB_GETLBTEXTLEN, i, 0);
        if (length < 0 || length >= CHOOSER_TEXT_CHARS)
            continue;
        SendMessageW(chooser, CB_GETLBTEXT, i, (LPARAM)text);
        SIZE extent;
        if (GetTextExtentPoint32W(dc.Get(), text, (int)length, &extent) && extent.cx > widest)
            widest = extent.cx;
    }
    UINT dpi = DpiForWindow(SystemDpiFunctions(), Window);
    int width = widest + ScaleForDpi(CHOOSER_TEXT_MARGIN, dpi) +
                SystemMetricForDpi(SystemDpiFunctions(), SM_CXVSCROLL, dpi);
    RECT box;
    GetWindowRect(chooser, &box);
    // Never narrower than the box itself.
    if (width < box.right - box.left)
        width = box.right - box.left;
    SendMessageW(chooser, CB_SETDROPPEDWIDTH, width, 0);
}

void HistoryWindow::FitToDpi()
{
    const DpiFunctions& functions = SystemDpiFunctions();
    UINT dpi = DpiForWindow(functions, Window);
    HICON small = LoadIconForDpi(functions, WindowModule.Instance, IDI_PROGRAM, SM_CXSMICON, dpi);
    HICON big = LoadIconForDpi(functions, WindowModule.Instance, IDI_PROGRAM, SM_CXICON, dpi);
    if (small != NULL) {
        SendMessageW(Window, WM_SETICON, ICON_SMALL, (LPARAM)small);
        SmallIcon.Reset(small);
    }
    if (big != NULL) {
        SendMessageW(Window, WM_SETICON, ICON_BIG, (LPARAM)big);
        BigIcon.Reset(big);
    }
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

void HistoryWindow::FillChooser()
{
    HWND chooser = GetDlgItem(Window, IDC_HIST_ADAPTER);
    SendMessageW(chooser, CB_RESETCONTENT, 0, 0);
    ChooserCount = 0;
    LRESULT all = SendMessageW(chooser, CB_ADDSTRING, 0, (LPARAM)ALL_ADAPTERS_TEXT);
    SendMessageW(chooser, CB_SETITEMDATA, all, (LPARAM)-1);
    // Today's adapters first, as they are named now; then the others, the latest first.
    if (Source != NULL)
        for (int i = Source->Running.Count() - 1; i >= 0; i--)
            AddChooserItem(Source->Running[i].Mac, Source->Running[i].Description);
    for (int i = Table.Records.Count() - 1; i >= 0; i--) {
        const HistoryName& name = Table.Names[Table.Records[i].Name];
        AddChooserItem(name.Mac, name.Description);
    }
    SendMessageW(chooser, CB_SETCURSEL, all, 0);
    Mac[0] = 0;
}

void HistoryWindow::SetColumnTitle()
{
    char title[PERIOD_TEXT_CHARS];
    FormatPeriodTitle(View, BillingDay, title, sizeof(title));
    WideText wide(title);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = (LPWSTR)wide.Get();
    SendDlgItemMessageW(Window, IDC_HIST_LIST, LVM_SETCOLUMNW, ColumnPeriod, (LPARAM)&column);
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
    int billingDay = Links.BillingDay();
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
        for (int i = 0; i < Source->Running.Count(); i++)
            AddChooserItem(Source->Running[i].Mac, Source->Running[i].Description);

    const char* mac = Mac[0] != 0 ? Mac : NULL;
    if (rebuild)
        BuildPeriodRows(Table, mac, View, BillingDay, &Base);
    Fresh.CopyFrom(Base);
    if (Source != NULL)
        AddRunningDays(*Source, mac, View, BillingDay, &Fresh);
    ShowRows(Fresh, rebuild);
    if (knowToday) {
        ShowChart(today);
        UpdateForecast(today, now.wHour * SECONDS_PER_HOUR + now.wMinute * SECONDS_PER_MINUTE +
                                       now.wSecond, rebuild);
    }
    ShowStatus();
}

void HistoryWindow::UpdateForecast(int today, int secondsToday, int rebuild)
{
    ULONGLONG tick = Platform.ReadTickCount();
    if (!rebuild && today == ForecastDay && tick - ForecastTick < FORECAST_REFRESH_MS)
        return;
    ForecastTick = tick;
    ForecastDay = today;
    ForecastText[0] = 0;
    const char* mac = Mac[0] != 0 ? Mac : NULL;
    PeriodSpan span;
    PeriodLimits limits = {0, 0, 0};
    if (Links.ForecastRule == NULL || !Links.ForecastRule(today, mac, &span, &limits))
        return;
    SpanSums sums;
    SumSpanDays(Table, Source, mac, span.First, today, &sums);
    PeriodForecast forecast;
    if (!ForecastPeriod(sums.In, sums.Out, span, sums.FirstKnownDay, today, secondsToday,
                        &forecast))
        return;
    // The limits hold for each adapter alone: none against the sum of all of them.
    LimitPick pick;
    int limited = mac != NULL && PickLimit(forecast, limits, &pick);
    FormatForecastLine(forecast, limited ? &pick : NULL, ForecastText, sizeof(ForecastText));
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
    else if (ForeignFile)
        BoundedPrint(text, sizeof(text),
                     "The history file is in a form Brisvane cannot read; at the next day's end "
                     "it is kept beside the new one as %s.",
                     "Brisvane-history" SET_ASIDE_SUFFIX);
    else if (SkippedLines > 0)
        BoundedPrint(text, sizeof(text),
                     "%d %s of the history file could not be read; %s kept unchanged at the end "
                     "of %s.",
                     SkippedLines, SkippedLines == 1 ? "line" : "lines",
                     SkippedLines == 1 ? "it is" : "they are", LoadedPath);
    else if (Source != NULL && Source->SetAsidePath[0] != 0)
        BoundedPrint(text, sizeof(text), "A history file Brisvane could not read was kept as %s.",
                     Source->SetAsidePath);
    else if (Shown.Count() == 0)
        BoundedPrint(text, sizeof(text), "%s", NO_HISTORY_TEXT);
    else
        CopyText(text, sizeof(text), ForecastText);
    if (strcmp(text, StatusText) != 0) {
        CopyText(StatusText, sizeof(StatusText), text);
        SetDlgItemTextW(Window, IDC_HIST_STATUS, WideText(text));
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
    LRESULT item = SendMessageW(chooser, CB_GETCURSEL, 0, 0);
    LRESULT index = item >= 0 ? SendMessageW(chooser, CB_GETITEMDATA, item, 0) : -1;
    CopyText(Mac, sizeof(Mac), index >= 0 && index < ChooserCount ? ChooserMacs[index] : "");
    Update(TRUE);  // the forecast too: it belongs to the adapter
    return 0;
}

LRESULT HistoryWindow::OnViewClick(WORD, WORD id, HWND, BOOL&)
{
    ShowView(id - IDC_HIST_DAYS);
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
    ForecastText[0] = 0;
    return 0;
}
