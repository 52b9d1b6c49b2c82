#include "DpiLayout.h"

#include "OwnedHandle.h"

// The template font's size in points, and points per inch.
static const int DialogFontPoints = 8;
static const int PointsPerInch = 72;
static const wchar_t DialogFontName[] = L"MS Shell Dlg";

HFONT CreateDialogFont(UINT dpi)
{
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(DialogFontPoints, dpi != 0 ? (int)dpi : (int)BaseDpi, PointsPerInch);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, DialogFontName, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

SIZE DialogBaseUnitsOf(HFONT font)
{
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int letterCount = (int)(sizeof(letters) / sizeof(letters[0])) - 1;
    SIZE units = {0, 0};
    OwnedDc dc(CreateCompatibleDC(NULL));
    if (!dc || font == NULL)
        return units;
    SelectedObject selected(dc.Get(), font);
    TEXTMETRICW metrics;
    SIZE extent;
    if (!GetTextMetricsW(dc.Get(), &metrics) ||
        !GetTextExtentPoint32W(dc.Get(), letters, letterCount, &extent))
        return units;
    // The average of the letters, rounded as the dialog manager rounds it.
    units.cx = (extent.cx / (letterCount / 2) + 1) / 2;
    units.cy = metrics.tmHeight;
    return units;
}

// Dialog units are quarters of the average width and eighths of the height.
static const int HorizontalUnitsPerBase = 4;
static const int VerticalUnitsPerBase = 8;

int DialogUnitsToPixelsX(int units, SIZE baseUnits)
{
    return MulDiv(units, baseUnits.cx, HorizontalUnitsPerBase);
}

int DialogUnitsToPixelsY(int units, SIZE baseUnits)
{
    return MulDiv(units, baseUnits.cy, VerticalUnitsPerBase);
}

HICON LoadIconForDpi(const DpiFunctions& functions, HINSTANCE instance, int id, int metric,
                     UINT dpi)
{
    int width = SystemMetricForDpi(functions, metric, dpi);
    int height = SystemMetricForDpi(functions, metric == SM_CXSMICON ? SM_CYSMICON : SM_CYICON,
                                    dpi);
    return (HICON)LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height,
                             LR_DEFAULTCOLOR);
}

int ToolBarImageSizeFor(UINT dpi)
{
    int wanted = ScaleForDpi(ToolBarImageSizes[0], dpi);
    int best = ToolBarImageSizes[0];
    for (int i = 1; i < ToolBarImageSizeCount; i++) {
        int size = ToolBarImageSizes[i];
        int distance = size > wanted ? size - wanted : wanted - size;
        int bestDistance = best > wanted ? best - wanted : wanted - best;
        if (distance < bestDistance)
            best = size;
    }
    return best;
}

BOOL NormalWindowRect(HWND window, RECT* rect)
{
    if (!IsIconic(window) && !IsZoomed(window))
        return GetWindowRect(window, rect);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement))
        return FALSE;
    *rect = placement.rcNormalPosition;
    // Workspace coordinates start at the work area's corner, not the screen's; tool windows
    // have theirs in screen coordinates already.
    if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        return TRUE;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromRect(rect, MONITOR_DEFAULTTOPRIMARY), &monitor))
        OffsetRect(rect, monitor.rcWork.left - monitor.rcMonitor.left,
                   monitor.rcWork.top - monitor.rcMonitor.top);
    return TRUE;
}

void ScaleChildren(HWND parent, SIZE from, SIZE to, HFONT font)
{
    if (from.cx <= 0 || from.cy <= 0 || to.cx <= 0 || to.cy <= 0)
        return;
    for (HWND child = GetWindow(parent, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(NULL, parent, (POINT*)&r, 2);
        int left = MulDiv(r.left, to.cx, from.cx);
        int top = MulDiv(r.top, to.cy, from.cy);
        int right = MulDiv(r.right, to.cx, from.cx);
        int bottom = MulDiv(r.bottom, to.cy, from.cy);
        if (font != NULL)
            SendMessageW(child, WM_SETFONT, (WPARAM)font, FALSE);
        SetWindowPos(child, NULL, left, top, right - left, bottom - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(parent, NULL, TRUE);
}

void SetWindowIconsForDpi(const DpiFunctions& functions, HWND window, HINSTANCE instance, int id,
                          UINT dpi, OwnedIcon* small, OwnedIcon* big)
{
    const struct {
        int Metric;
        WPARAM Kind;
        OwnedIcon* Held;
    } icons[] = {{SM_CXSMICON, ICON_SMALL, small}, {SM_CXICON, ICON_BIG, big}};
    for (const auto& icon : icons) {
        HICON loaded = LoadIconForDpi(functions, instance, id, icon.Metric, dpi);
        if (loaded == NULL)
            continue;
        SendMessageW(window, WM_SETICON, icon.Kind, (LPARAM)loaded);
        icon.Held->Reset(loaded);
    }
}
