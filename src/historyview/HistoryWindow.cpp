// The history window: its opening, the adapter chooser and the views (its layout and place:
// HistoryWindowPlace.cpp).
#include "HistoryWindow.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "LanguageResources.h"
#include "Platform.h"
#include "Units.h"
#include "Utf8Text.h"

#define CHOOSER_TEXT_CHARS (DESCRIPTION_CHARS + MAC_TEXT_CHARS + 8)
// Room in the dropped list beside the longest entry's text, in 96-DPI pixels.
#define CHOOSER_TEXT_MARGIN 8
#define FORECAST_REFRESH_MS 60000

HistoryWindow::HistoryWindow()
    : Source(NULL), Links(), View(ViewDays), PhysicalOnly(true), BillingDay(1), LoadedVersion(0),
      SkippedLines(0), ForeignFile(0), ReadError(0), ChooserCount(0), AnyCounted(false),
      AllFilter([this](const char* name) { return AddsToAll(name); }), ForecastTick(0),
      ForecastDay(0)
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
    static const UINT titles[HistoryColumnCount] = {0, IDS_NAME_IN, IDS_NAME_OUT, IDS_HIST_COL_TOTAL};
    for (int column = 0; column < HistoryColumnCount; column++) {
        LVCOLUMNW item = {};
        item.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
        item.fmt = column == ColumnPeriod ? LVCFMT_LEFT : LVCFMT_RIGHT;
        wchar_t title[64];
        LoadTextW(titles[column], title, 64);
        item.pszText = title;
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
    PhysicalOnly = ReadPhysicalOnlyChoice(Links);
    CheckDlgButton(Window, IDC_HIST_PHYSICAL, PhysicalOnly ? BST_CHECKED : BST_UNCHECKED);
    BillingDay = Links.BillingDay();
    SetColumnTitle();
    LoadTable();
    FillChooser();
    RestorePlacement();
    RECT client;
    GetClientRect(Window, &client);
    Layout(client.right, client.bottom);
    HeaderLook.Take(list, Colours);
    if (Colours != nullptr)
        ShowColours(Window, *Colours);
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
    if (Links.TabName && Links.TabName(mac, tab, sizeof(tab)) &&
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

void HistoryWindow::FillChooser()
{
    HWND chooser = GetDlgItem(Window, IDC_HIST_ADAPTER);
    SendMessageW(chooser, CB_RESETCONTENT, 0, 0);
    ChooserCount = 0;
    wchar_t allAdapters[CHOOSER_TEXT_CHARS];
    LoadTextW(IDS_HIST_ALL_ADAPTERS, allAdapters, CHOOSER_TEXT_CHARS);
    LRESULT all = SendMessageW(chooser, CB_ADDSTRING, 0, (LPARAM)allAdapters);
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
    if (rebuild) {
        RenewStandings();
        BuildPeriodRows(Table, mac, View, BillingDay, &Base, AllFilter);
    }
    Fresh.CopyFrom(Base);
    if (Source != NULL)
        AddRunningDays(*Source, mac, View, BillingDay, &Fresh, AllFilter);
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
    SumSpanDays(Table, Source, mac, span.First, today, &sums, AllFilter);
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
    if (count <= 0)
        return;
    int starts[MAX_CHART_BARS];
    starts[count - 1] = PeriodStart(today, View, BillingDay);
    for (int i = count - 1; i > 0; i--)
        starts[i - 1] = PreviousPeriodStart(starts[i], View, BillingDay);
    char firstText[PERIOD_TEXT_CHARS], lastText[PERIOD_TEXT_CHARS];
    FormatPeriodText(starts[0], View, BillingDay, firstText, sizeof(firstText));
    FormatPeriodText(starts[count - 1], View, BillingDay, lastText, sizeof(lastText));
    Chart.SetBars(bars, count, firstText, lastText);

    // The same in words for screen readers.
    unsigned __int64 total = 0;
    for (int i = 0; i < count; i++)
        total += bars[i].In + bars[i].Out;
    int largest = LargestBar(bars, count);
    char largestText[PERIOD_TEXT_CHARS] = "";
    if (largest >= 0)
        FormatPeriodText(starts[largest], View, BillingDay, largestText, sizeof(largestText));
    char name[ChartNameChars];
    FormatChartName(View, firstText, lastText, largest >= 0 ? largestText : NULL,
                    largest >= 0 ? bars[largest].In + bars[largest].Out : 0, total, name,
                    sizeof(name));
    Chart.SetName(name);
}

void HistoryWindow::ShowStatus()
{
    char text[STATUS_TEXT_CHARS];
    text[0] = 0;
    char figure[PATH_CHARS];
    const char* parts[] = {figure, LoadedPath};
    if (Source != NULL && Source->LastError != 0) {
        BoundedPrint(figure, sizeof(figure), "%lu", Source->LastError);
        FormatText(text, sizeof(text), IDS_HIST_WRITE_FAILED, parts, 1);
    } else if (ReadError != 0) {
        BoundedPrint(figure, sizeof(figure), "%lu", ReadError);
        FormatText(text, sizeof(text), IDS_HIST_READ_FAILED, parts, 1);
    } else if (ForeignFile) {
        CopyText(figure, sizeof(figure), "Brisvane-history" SET_ASIDE_SUFFIX);
        FormatText(text, sizeof(text), IDS_HIST_UNREADABLE, parts, 1);
    } else if (SkippedLines > 0) {
        BoundedPrint(figure, sizeof(figure), "%d", SkippedLines);
        FormatText(text, sizeof(text), SkippedLines == 1 ? IDS_HIST_SKIPPED_ONE : IDS_HIST_SKIPPED_MANY,
                   parts, 2);
    } else if (Source != NULL && Source->SetAsidePath[0] != 0) {
        CopyText(figure, sizeof(figure), Source->SetAsidePath);
        FormatText(text, sizeof(text), IDS_HIST_KEPT_AS, parts, 1);
    } else if (Shown.Count() == 0)
        LoadText(IDS_HIST_EMPTY, text, sizeof(text));
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
    // The choice belongs to "All adapters" alone.
    EnableWindow(GetDlgItem(Window, IDC_HIST_PHYSICAL), Mac[0] == 0);
    Update(TRUE);  // the forecast too: it belongs to the adapter
    return 0;
}

LRESULT HistoryWindow::OnViewClick(WORD, WORD id, HWND, BOOL&)
{
    ShowView(id - IDC_HIST_DAYS);
    return 0;
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
    Standings.Free();
    StatusText[0] = 0;
    ForecastText[0] = 0;
    return 0;
}
