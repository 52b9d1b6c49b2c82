#include "SpeedWindow.h"

#include <string.h>

#include "BoundedText.h"
#include "Dpi.h"
#include "LanguageResources.h"
#include "StepTimer.h"
#include "Utf8Text.h"
#include "resource.h"

namespace {

// 96-DPI units.
const int FontHeight = 15;
const int TextMargin = 6;
const int GraphBandHeight = 16;
const int TaskbarGap = 8;
// Within this many pixels (at 100 %) of a screen edge the window comes to rest against it.
const int SnapDistance = 12;
const int FullOpacity = 100;
const BYTE OpaqueAlpha = 255;
// A trickle below this many units a second shows as low bars.
const unsigned __int64 GraphFloor = 1000;

const DWORD WindowStyle = WS_POPUP;
const DWORD WindowExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED;

void FillColour(HDC dc, const RECT& r, COLORREF colour)
{
    // The DC's own brush: nothing to make or free for each bar.
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, (HBRUSH)GetStockObject(DC_BRUSH));
}

}  // namespace

RECT PlaceSpeedWindow(const WindowPlace* saved, UINT systemDpi, const WorkArea* areas,
                      size_t count, const PrimaryScreen* primary)
{
    if (saved != NULL) {
        WindowPlace place = *saved;
        place.Width = SpeedWindowWidth;
        place.Height = SpeedWindowHeight;
        return PlaceOnWorkArea(place, systemDpi, areas, count, SpeedWindowPlaceRules);
    }
    if (count == 0) {
        RECT r = {0, 0, ScaleForDpi(SpeedWindowWidth, systemDpi),
                  ScaleForDpi(SpeedWindowHeight, systemDpi)};
        return r;
    }
    // The primary monitor's, at its DPI; without word of it, the first work area's.
    const WorkArea* area = &areas[0];
    for (size_t i = 0; primary != NULL && i < count; i++)
        if (EqualRect(&areas[i].Area, &primary->Work))
            area = &areas[i];
    PrimaryScreen screen = {area->Area, area->Area, false, {}};
    if (primary != NULL)
        screen = *primary;
    SIZE size = {ScaleForDpi(SpeedWindowWidth, area->Dpi),
                 ScaleForDpi(SpeedWindowHeight, area->Dpi)};
    return PlaceBesideTaskbar(screen, size, ScaleForDpi(TaskbarGap, area->Dpi));
}

void FormatSpeedWindowText(unsigned __int64 down, unsigned __int64 up, int bits, char* text,
                           size_t size)
{
    char downWords[SpokenSpeedChars];
    char upWords[SpokenSpeedChars];
    FormatSpokenSpeed(SpeedInUnits(down, bits), bits, downWords, sizeof(downWords));
    FormatSpokenSpeed(SpeedInUnits(up, bits), bits, upWords, sizeof(upWords));
    const char* parts[] = {downWords, upWords};
    FormatText(text, size, IDS_SPEED_DOWN_UP, parts, 2);
}

SpeedWindowLayout LayOutSpeedWindow(const RECT& client, UINT dpi)
{
    SpeedWindowLayout layout;
    const int margin = ScaleForDpi(TextMargin, dpi);
    const int graphTop = client.bottom - ScaleForDpi(GraphBandHeight, dpi);
    const int middle = client.top + (graphTop - client.top) / 2;
    SetRect(&layout.Down, client.left + margin, client.top, client.right - margin, middle);
    SetRect(&layout.Up, client.left + margin, middle, client.right - margin, graphTop);
    SetRect(&layout.Graph, client.left, graphTop, client.right, client.bottom);
    return layout;
}

SpeedWindowPicture DescribeSpeedWindow(const SpeedHistory& history, int bits, int alert,
                                       int height)
{
    SpeedWindowPicture picture;
    memset(&picture, 0, sizeof(picture));  // compared whole, padding too
    picture.Alert = alert != 0;
    picture.Height = height;
    unsigned __int64 down[SpeedHistorySeconds];
    unsigned __int64 up[SpeedHistorySeconds];
    size_t count = history.Recent(SpeedHistorySeconds, down, up);
    // One scale for both, so that their bars can be compared.
    unsigned __int64 both[2 * SpeedHistorySeconds];
    for (size_t i = 0; i < count; i++) {
        both[i] = SpeedInUnits(down[i], bits);
        both[count + i] = SpeedInUnits(up[i], bits);
    }
    int heights[2 * SpeedHistorySeconds];
    ScaleGraph(both, 2 * count, GraphFloor, height, heights);
    for (size_t i = 0; i < count; i++) {
        picture.DownBars[i] = heights[i];
        picture.UpBars[i] = heights[count + i];
    }
    picture.Count = (int)count;
    unsigned __int64 downNow, upNow;
    history.Latest(&downNow, &upNow);
    char words[SpeedWordsChars];
    FormatSpeedWords(SpeedInUnits(downNow, bits), bits, words, sizeof(words));
    const char* parts[] = {words};
    FormatText(picture.DownLine, sizeof(picture.DownLine), IDS_SPEED_DOWN, parts, 1);
    FormatSpeedWords(SpeedInUnits(upNow, bits), bits, words, sizeof(words));
    FormatText(picture.UpLine, sizeof(picture.UpLine), IDS_SPEED_UP, parts, 1);
    return picture;
}

bool SameSpeedWindowPicture(const SpeedWindowPicture& a, const SpeedWindowPicture& b)
{
    return memcmp(&a, &b, sizeof(a)) == 0;
}

SpeedWindow::SpeedWindow()
    : Owner(NULL), Dpi(BaseDpi), Bits(0), Alert(0),
      Colours(MakePalette(LookLight, ReadSystemColours())), Words(), CanvasSize()
{
    memset(&Current, 0, sizeof(Current));
    memset(&Painted, 0, sizeof(Painted));
}

int SpeedWindow::Create(HWND owner, const SpeedViewChoices& choices)
{
    if (Window != NULL)
        return 1;
    Owner = owner;
    WNDCLASSEXW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StartWindowProc;
    wc.lpszClassName = SPEED_WINDOW_CLASS;
    ATOM atom = AtlModuleRegisterWndClassInfo(&wc);
    if (atom == 0)
        return 0;
    const DpiFunctions& functions = SystemDpiFunctions();
    enum { MostMonitors = 16 };
    WorkArea areas[MostMonitors];
    size_t count = CollectWorkAreas(functions, areas, MostMonitors);
    PrimaryScreen primary = ReadPrimaryScreen();
    RECT r = PlaceSpeedWindow(choices.HasPlace ? &choices.Place : NULL, DpiForSystem(functions),
                              areas, count, &primary);
    FormatSpeedWindowText(0, 0, choices.Bits, Words, sizeof(Words));
    if (CreateBound(WindowExStyle, MAKEINTRESOURCEW(atom), WideText(Words), WindowStyle, r.left, r.top,
                     r.right - r.left, r.bottom - r.top, NULL, NULL) == NULL)
        return 0;
    Dpi = DpiForWindow(functions, Window);
    MakeFont();
    ApplyLook(choices.ClickThrough, choices.Opacity);
    return 1;
}

void SpeedWindow::Destroy()
{
    if (Window != NULL)
        DestroyWindow(Window);
    CanvasDc.Reset();
    CanvasBitmap.Reset();
}

void SpeedWindow::MakeFont()
{
    LOGFONTW font = {};
    font.lfHeight = -ScaleForDpi(FontHeight, Dpi);
    font.lfWeight = FW_BOLD;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
    Font.Reset(CreateFontIndirectW(&font));
}

void SpeedWindow::ApplyLook(int clickThrough, int opacity)
{
    if (Window == NULL)
        return;
    LONG_PTR style = GetWindowLongPtrW(Window, GWL_EXSTYLE);
    LONG_PTR wanted = clickThrough ? (style | WS_EX_TRANSPARENT) : (style & ~(LONG_PTR)WS_EX_TRANSPARENT);
    if (wanted != style)
        SetWindowLongPtrW(Window, GWL_EXSTYLE, wanted);
    if (opacity <= 0 || opacity > FullOpacity)
        opacity = FullOpacity;
    SetLayeredWindowAttributes(Window, 0, (BYTE)(OpaqueAlpha * opacity / FullOpacity), LWA_ALPHA);
}

void SpeedWindow::SetPalette(const Palette& palette)
{
    Colours = palette;
    if (Window != NULL)
        InvalidateRect(Window, NULL, FALSE);
}

void SpeedWindow::Show(const SpeedHistory& history, int bits, int alert)
{
    if (Window == NULL)
        return;
    Figures = history;
    unsigned __int64 down, up;
    history.Latest(&down, &up);
    char words[SpeedWindowTextChars];
    FormatSpeedWindowText(down, up, bits, words, sizeof(words));
    int changed = strcmp(words, Words) != 0 || bits != Bits || alert != Alert;
    Bits = bits;
    Alert = alert;
    if (strcmp(words, Words) != 0) {
        CopyText(Words, sizeof(Words), words);
        SetWindowTextW(Window, WideText(Words));
    }
    RECT area;
    GetClientRect(Window, &area);
    const RECT graph = LayOutSpeedWindow(area, Dpi).Graph;
    Current = DescribeSpeedWindow(history, bits, alert, graph.bottom - graph.top);
    // The graph moves on as long as the last minute had traffic; a picture the same as the one
    // on show (traffic as steady as the bars can tell, a first minute without any) is not
    // painted again.
    if ((changed || down != 0 || up != 0 || history.Count() < SpeedHistorySeconds) &&
        !SameSpeedWindowPicture(Current, Painted))
        PaintNow(area);
}

void SpeedWindow::PaintNow(const RECT& area)
{
    // Drawn at once rather than through WM_PAINT: the round of invalidating, fetching the
    // paint message and asking for the update region twice costs more than the drawing. A
    // hidden window is drawn when it shows again.
    HDC dc = IsWindowVisible(Window) ? GetDC(Window) : NULL;
    if (dc == NULL) {
        InvalidateRect(Window, NULL, FALSE);
        return;
    }
    StepScope step(StepSpeedWindowPaint);
    Draw(dc, area);
    ReleaseDC(Window, dc);
}

void SpeedWindow::Draw(HDC dc, const RECT& area)
{
    // Drawn off screen first, so that the figures do not flicker as they change.
    HDC canvas = Canvas(dc, area);
    Paint(canvas != NULL ? canvas : dc, area);
    StepScope layered(StepLayeredUpdate);
    if (canvas != NULL)
        BitBlt(dc, 0, 0, area.right, area.bottom, canvas, 0, 0, SRCCOPY);
}

int SpeedWindow::ReadPlace(WindowPlace* place) const
{
    RECT r;
    if (Window == NULL || !GetWindowRect(Window, &r))
        return 0;
    const DpiFunctions& functions = SystemDpiFunctions();
    *place = PlaceOfWindow(r, DpiForSystem(functions), Dpi);
    return 1;
}

void SpeedWindow::Paint(HDC dc, const RECT& area)
{
    const SpeedWindowLayout layout = LayOutSpeedWindow(area, Dpi);
    const RECT& graph = layout.Graph;
    const int height = graph.bottom - graph.top;
    const int width = graph.right - graph.left;
    // A paint of the system's own (shown again, a new DPI) may come at another height.
    if (Current.Height != height)
        Current = DescribeSpeedWindow(Figures, Bits, Alert, height);
    Painted = Current;
    // The figures' band: the alert's pair while it is on.
    RECT band = {area.left, area.top, area.right, graph.top};
    FillColour(dc, band, Current.Alert ? Colours.AlertBack : Colours.SpeedBack);
    FillColour(dc, graph, Colours.SpeedGraphBack);
    // The newest second at the right edge; a minute across the window.
    size_t count = (size_t)Current.Count;
    for (size_t i = 0; i < count; i++) {
        size_t slot = SpeedHistorySeconds - count + i;
        LONG left = graph.left + (LONG)(width * slot / SpeedHistorySeconds);
        LONG right = graph.left + (LONG)(width * (slot + 1) / SpeedHistorySeconds);
        RECT bar = {left, graph.bottom - Current.DownBars[i], right, graph.bottom};
        FillColour(dc, bar, Colours.GraphIn);
        RECT upBar = {left + (right - left) / 2, graph.bottom - Current.UpBars[i], right,
                      graph.bottom};
        FillColour(dc, upBar, Colours.GraphOut);
    }
    SelectedObject font(dc, Font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Current.Alert ? Colours.AlertText : Colours.SpeedText);
    RECT upper = layout.Down;
    RECT lower = layout.Up;
    DrawTextW(dc, WideText(Current.DownLine), -1, &upper,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    DrawTextW(dc, WideText(Current.UpLine), -1, &lower,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

HDC SpeedWindow::Canvas(HDC dc, const RECT& area)
{
    if (CanvasDc && CanvasSize.cx == area.right && CanvasSize.cy == area.bottom)
        return CanvasDc.Get();
    CanvasDc.Reset();  // before the bitmap selected in it
    CanvasBitmap.Reset(CreateCompatibleBitmap(dc, area.right, area.bottom));
    if (CanvasBitmap)
        CanvasDc.Reset(CreateCompatibleDC(dc));
    if (!CanvasDc)
        return NULL;
    SelectObject(CanvasDc.Get(), CanvasBitmap.Get());
    CanvasSize.cx = area.right;
    CanvasSize.cy = area.bottom;
    return CanvasDc.Get();
}

LRESULT SpeedWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    StepScope step(StepSpeedWindowPaint);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window, &paint);
    if (dc == NULL)
        return 0;
    RECT area;
    GetClientRect(Window, &area);
    Draw(dc, area);
    EndPaint(Window, &paint);
    return 0;
}

LRESULT SpeedWindow::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    RECT area;
    GetClientRect(Window, &area);
    Paint((HDC)wParam, area);
    return 0;
}

LRESULT SpeedWindow::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&)
{
    return 1;  // the paint covers all of it
}

LRESULT SpeedWindow::OnHitTest(UINT, WPARAM, LPARAM, BOOL&)
{
    // Anywhere is the handle to move it by.
    return HTCAPTION;
}

LRESULT SpeedWindow::OnSwallow(UINT, WPARAM, LPARAM, BOOL&)
{
    return 0;  // no system menu: the button's release opens the tray menu
}

LRESULT SpeedWindow::OnRightClick(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    SendMessageW(Owner, SPEED_WINDOW_MESSAGE, SpeedRequestMenu, lParam);
    return 0;
}

LRESULT SpeedWindow::OnDoubleClick(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    SendMessageW(Owner, SPEED_WINDOW_MESSAGE, SpeedRequestShowMain, lParam);
    return 0;
}

LRESULT SpeedWindow::OnMoving(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    RECT* moving = (RECT*)lParam;
    HMONITOR monitor = MonitorFromRect(moving, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor != NULL && GetMonitorInfoW(monitor, &info))
        *moving = SnapToEdges(*moving, info.rcWork, ScaleForDpi(SnapDistance, Dpi));
    return TRUE;
}

LRESULT SpeedWindow::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    Dpi = HIWORD(wParam);
    MakeFont();
    const RECT* suggested = (const RECT*)lParam;
    SetWindowPos(Window, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Window, NULL, FALSE);
    return 0;
}
