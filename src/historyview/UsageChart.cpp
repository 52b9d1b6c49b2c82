#include "UsageChart.h"

#include <string.h>
#include <wchar.h>

#include "BoundedText.h"
#include "ByteAmountText.h"
#include "LanguageResources.h"
#include "OwnedHandle.h"
#include "Utf8Text.h"
#include "resource.h"

#define CHART_MARGIN 6
#define SWATCH_SIZE 8
#define LEGEND_GAP 4
#define LEGEND_SPACE 12
#define BAR_GAP_PARTS 4  // a slot is split into this many parts: in, out, in, out ... less a gap

void ChartPlotArea(const RECT& client, int textHeight, RECT* plot)
{
    // Legend and scale above, the first and last period's names below.
    plot->left = client.left + CHART_MARGIN;
    plot->right = client.right - CHART_MARGIN;
    plot->top = client.top + CHART_MARGIN + textHeight + LEGEND_GAP;
    plot->bottom = client.bottom - CHART_MARGIN - textHeight - LEGEND_GAP;
    if (plot->right < plot->left)
        plot->right = plot->left;
    if (plot->bottom < plot->top)
        plot->bottom = plot->top;
}

static int BarHeight(unsigned __int64 amount, unsigned __int64 scale, int room)
{
    if (amount == 0 || scale == 0 || room <= 0)
        return 0;
    int height = (int)((double)amount / (double)scale * room + 0.5);
    if (height < 1)
        height = 1;  // a little traffic still shows
    return height > room ? room : height;
}

void ChartBarRects(const RECT& plot, int count, int index, const ChartBar& bar,
                   unsigned __int64 scale, RECT* inRect, RECT* outRect)
{
    int width = plot.right - plot.left;
    int slotLeft = plot.left + (count > 0 ? width * index / count : 0);
    int slotRight = plot.left + (count > 0 ? width * (index + 1) / count : 0);
    int slot = slotRight - slotLeft;
    // One part of the slot stays empty between neighbours; in and out share the rest.
    int gap = slot / BAR_GAP_PARTS;
    int barWidth = (slot - gap) / 2;
    if (barWidth < 1)
        barWidth = 1;
    int room = plot.bottom - plot.top;
    int left = slotLeft + gap / 2;
    int inHeight = BarHeight(bar.In, scale, room);
    int outHeight = BarHeight(bar.Out, scale, room);
    SetRect(inRect, left, plot.bottom - inHeight, left + barWidth, plot.bottom);
    SetRect(outRect, left + barWidth, plot.bottom - outHeight, left + 2 * barWidth, plot.bottom);
}

UsageChart::UsageChart() : BarCount(0)
{
    memset(Bars, 0, sizeof(Bars));
    FirstLabel[0] = 0;
    LastLabel[0] = 0;
}

HWND UsageChart::Create(HWND parent, int id)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = StartWindowProc;
    wc.lpszClassName = USAGE_CHART_CLASS;
    if (AtlModuleRegisterWndClassInfo(&wc) == 0)
        return NULL;
    return CreateBound(WS_EX_CLIENTEDGE, USAGE_CHART_CLASS, NULL, WS_CHILD | WS_VISIBLE, 0, 0, 0,
                       0, parent, (HMENU)(INT_PTR)id);
}

void UsageChart::SetBars(const ChartBar* bars, int count, const char* firstLabel,
                         const char* lastLabel)
{
    if (count > MAX_CHART_BARS)
        count = MAX_CHART_BARS;
    if (count == BarCount && memcmp(bars, Bars, (size_t)count * sizeof(ChartBar)) == 0 &&
        strcmp(firstLabel, FirstLabel) == 0 && strcmp(lastLabel, LastLabel) == 0)
        return;
    memcpy(Bars, bars, (size_t)count * sizeof(ChartBar));
    BarCount = count;
    CopyText(FirstLabel, sizeof(FirstLabel), firstLabel);
    CopyText(LastLabel, sizeof(LastLabel), lastLabel);
    if (Window != NULL)
        InvalidateRect(Window, NULL, FALSE);
}

int LargestBar(const ChartBar* bars, int count)
{
    int largest = -1;
    unsigned __int64 most = 0;
    for (int i = 0; i < count; i++) {
        unsigned __int64 amount = bars[i].In + bars[i].Out;
        if (amount > most) {
            most = amount;
            largest = i;
        }
    }
    return largest;
}

void FormatChartName(int view, const char* first, const char* last, const char* largest,
                     unsigned __int64 largestAmount, unsigned __int64 total, char* text,
                     size_t size)
{
    static const char* const views[HistoryViewCount] = {"Days", "Months", "Years"};
    const char* shown = view >= 0 && view < HistoryViewCount ? views[view] : views[0];
    if (largest == NULL) {
        BoundedPrint(text, size, "%s from %s to %s: no traffic", shown, first, last);
        return;
    }
    char most[PERIOD_TEXT_CHARS], all[PERIOD_TEXT_CHARS];
    FormatByteAmount(largestAmount, "B", most, sizeof(most));
    FormatByteAmount(total, "B", all, sizeof(all));
    BoundedPrint(text, size, "%s from %s to %s: largest %s with %s, total %s", shown, first, last,
                 largest, most, all);
}

void UsageChart::SetName(const char* name)
{
    if (strcmp(name, Name) == 0)
        return;
    CopyText(Name, sizeof(Name), name);
    if (Window != NULL)
        SetWindowTextW(Window, WideText(Name));
}

void UsageChart::SetPalette(const Palette& palette)
{
    Colours = palette;
    if (Window != NULL)
        InvalidateRect(Window, NULL, FALSE);
}

static void FillColour(HDC dc, const RECT& rect, COLORREF colour)
{
    if (rect.right > rect.left && rect.bottom > rect.top) {
        // The DC's own brush: nothing to make or free for each bar.
        SetDCBrushColor(dc, colour);
        FillRect(dc, &rect, (HBRUSH)GetStockObject(DC_BRUSH));
    }
}

static void DrawLegendItem(HDC dc, int* x, int y, int textHeight, COLORREF colour,
                           const char* text)
{
    RECT swatch = {*x, y + (textHeight - SWATCH_SIZE) / 2, *x + SWATCH_SIZE,
                   y + (textHeight - SWATCH_SIZE) / 2 + SWATCH_SIZE};
    FillColour(dc, swatch, colour);
    *x += SWATCH_SIZE + LEGEND_GAP;
    WideText wide(text);
    int length = (int)wcslen(wide);
    TextOutW(dc, *x, y, wide, length);
    SIZE size = {};
    GetTextExtentPoint32W(dc, wide, length, &size);
    *x += size.cx + LEGEND_SPACE;
}

void UsageChart::Paint(HDC dc, const RECT& client)
{
    FillColour(dc, client, Colours.FieldBack);
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Colours.Text);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    int textHeight = metrics.tmHeight;

    unsigned __int64 scale = 0;
    for (int i = 0; i < BarCount; i++) {
        if (Bars[i].In > scale)
            scale = Bars[i].In;
        if (Bars[i].Out > scale)
            scale = Bars[i].Out;
    }
    int x = client.left + CHART_MARGIN;
    int y = client.top + CHART_MARGIN;
    char in[REPORT_AMOUNT_CHARS], out[REPORT_AMOUNT_CHARS];
    LoadFlowName("IN", in, sizeof(in));
    LoadFlowName("OUT", out, sizeof(out));
    DrawLegendItem(dc, &x, y, textHeight, Colours.GraphIn, in);
    DrawLegendItem(dc, &x, y, textHeight, Colours.GraphOut, out);
    char top[REPORT_AMOUNT_CHARS * 3];
    char amount[REPORT_AMOUNT_CHARS];
    FormatReportAmount(scale, amount, sizeof(amount));
    const char* parts[] = {amount};
    FormatText(top, sizeof(top), IDS_CHART_MAX, parts, 1);
    RECT scaleText = {x, y, client.right - CHART_MARGIN, y + textHeight};
    DrawTextW(dc, WideText(top), -1, &scaleText, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);

    RECT plot;
    ChartPlotArea(client, textHeight, &plot);
    for (int i = 0; i < BarCount; i++) {
        RECT in, out;
        ChartBarRects(plot, BarCount, i, Bars[i], scale, &in, &out);
        FillColour(dc, in, Colours.GraphIn);
        FillColour(dc, out, Colours.GraphOut);
    }
    RECT baseLine = {plot.left, plot.bottom, plot.right, plot.bottom + 1};
    FillColour(dc, baseLine, Colours.Text);

    RECT labels = {plot.left, plot.bottom + LEGEND_GAP, plot.right,
                   plot.bottom + LEGEND_GAP + textHeight};
    DrawTextW(dc, WideText(FirstLabel), -1, &labels, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    DrawTextW(dc, WideText(LastLabel), -1, &labels, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT UsageChart::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window, &paint);
    RECT client;
    GetClientRect(Window, &client);
    // Drawn off screen first, then copied in one piece: no flicker while the window is sized.
    {
        OwnedDc buffer(CreateCompatibleDC(dc));
        OwnedBitmap bitmap(buffer ? CreateCompatibleBitmap(dc, client.right, client.bottom)
                                  : NULL);
        if (bitmap) {
            SelectedObject drawing(buffer.Get(), bitmap.Get());
            Paint(buffer.Get(), client);
            BitBlt(dc, 0, 0, client.right, client.bottom, buffer.Get(), 0, 0, SRCCOPY);
        } else {
            Paint(dc, client);
        }
    }
    EndPaint(Window, &paint);
    return 0;
}

LRESULT UsageChart::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    RECT client;
    GetClientRect(Window, &client);
    Paint((HDC)wParam, client);
    return 0;
}
