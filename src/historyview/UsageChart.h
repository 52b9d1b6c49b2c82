// The history window's bar chart: a pair of bars (IN, OUT) per period, drawn with GDI in the
// palette's colours into a buffer, so that a resize redraws it whole without flicker.
#ifndef BRISVANE_USAGECHART_H
#define BRISVANE_USAGECHART_H

#include <windows.h>

#include "HistoryCalendar.h"
#include "HistoryReport.h"
#include "Palette.h"
#include "WindowObject.h"

#define USAGE_CHART_CLASS L"BrisvaneUsageChart"
#define MAX_CHART_BARS 31

// Where the bars of one period go in the plot area (bottom-aligned, empty when the amount is
// 0, at least a pixel high otherwise).
void ChartBarRects(const RECT& plot, int count, int index, const ChartBar& bar,
                   unsigned __int64 scale, RECT* inRect, RECT* outRect);
// The plot area of a chart of that client size and text height.
void ChartPlotArea(const RECT& client, int textHeight, RECT* plot);
// The bar with the most traffic, in and out together, the earliest of equals; -1 when every
// bar is empty.
int LargestBar(const ChartBar* bars, int count);
// The chart in words, as a screen reader says it: "Days from 2026-11-08 to 2026-12-08:
// largest 2026-12-03 with 1.25 GB, total 12.4 GB"; largest null when there was no traffic.
void FormatChartName(int view, const char* first, const char* last, const char* largest,
                     unsigned __int64 largestAmount, unsigned __int64 total, char* text,
                     size_t size);
constexpr size_t ChartNameChars = 160;

class UsageChart : public WindowObject {
public:
    UsageChart();

    BEGIN_MSG_MAP(UsageChart)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    END_MSG_MAP()

    HWND Create(HWND parent, int id);
    // New bars and the names of the first and last period; redrawn only when they changed.
    void SetBars(const ChartBar* bars, int count, const char* firstLabel, const char* lastLabel);
    // The window's text, which screen readers say; written only when it changed.
    void SetName(const char* name);
    // The colours of the look; redrawn in them.
    void SetPalette(const Palette& palette);
    void Paint(HDC dc, const RECT& client);

    ChartBar Bars[MAX_CHART_BARS];
    int BarCount;
    char FirstLabel[PERIOD_TEXT_CHARS];
    char LastLabel[PERIOD_TEXT_CHARS];
    char Name[ChartNameChars] = "";
    // Its field's background, texts, IN and OUT bars; light until told otherwise.
    Palette Colours = MakePalette(LookLight, SystemColours());

private:
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
};

#endif
