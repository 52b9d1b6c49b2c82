// The speed window: a small captionless window, on top of the others, with the download and
// upload speed in large figures in a band of their own above a graph of the last minute, in
// the colours of the windows' look. Dragged anywhere to move, it
// snaps to the edges of the screen; its window text is the speed in words for screen readers.
#ifndef BRISVANE_SPEEDWINDOW_H
#define BRISVANE_SPEEDWINDOW_H

#include <windows.h>

#include "OwnedHandle.h"
#include "Palette.h"
#include "SpeedGraph.h"
#include "SpeedText.h"
#include "SpeedViewChoices.h"
#include "TaskbarPlace.h"
#include "WindowObject.h"
#include "WindowPlace.h"

#define SPEED_WINDOW_CLASS L"BrisvaneSpeedWindow"
// Sent to the main window: wParam a SpeedWindowRequest, lParam the screen point.
#define SPEED_WINDOW_MESSAGE (WM_USER + 2)

enum SpeedWindowRequest { SpeedRequestMenu = 1, SpeedRequestShowMain = 2 };

// The window's size in 96-DPI units.
const int SpeedWindowWidth = 176;
const int SpeedWindowHeight = 56;
// The whole of the window stays on a work area: it has no caption to take it back by.
const PlaceRules SpeedWindowPlaceRules = {SpeedWindowHeight, SpeedWindowWidth, SpeedWindowWidth,
                                          SpeedWindowHeight};
// Its text, which screen readers say: "Download 1.25 megabytes per second, upload 210 kilobytes
// per second".
const size_t SpeedWindowTextChars = 96;

// Where the window shows: the saved place (null: none) brought into a work area at the design
// size, else beside the primary screen's taskbar (null: the first work area's lower right).
RECT PlaceSpeedWindow(const WindowPlace* saved, UINT systemDpi, const WorkArea* areas,
                      size_t count, const PrimaryScreen* primary = nullptr);
// The window's text for the newest speeds.
void FormatSpeedWindowText(unsigned __int64 down, unsigned __int64 up, int bits, char* text,
                           size_t size);

// Where the figures and the graph go in a client area at a DPI: the graph a band along the
// bottom, the two lines of figures above it, so that no bar runs behind them.
struct SpeedWindowLayout {
    RECT Down, Up;  // each line's room, the margins left out
    RECT Graph;
};
SpeedWindowLayout LayOutSpeedWindow(const RECT& client, UINT dpi);

// Everything the window's picture shows at a height: it is painted anew only when this changes.
struct SpeedWindowPicture {
    int Alert;
    int Height;
    int Count;  // the seconds shown, the newest at the right edge
    int DownBars[SpeedHistorySeconds];
    int UpBars[SpeedHistorySeconds];
    char DownLine[SpeedWindowTextChars];  // "Down 1.25 MB/s"
    char UpLine[SpeedWindowTextChars];
};

// The picture of the figures, the bars scaled to a graph of that height.
SpeedWindowPicture DescribeSpeedWindow(const SpeedHistory& history, int bits, int alert,
                                       int height);
bool SameSpeedWindowPicture(const SpeedWindowPicture& a, const SpeedWindowPicture& b);

class SpeedWindow : public WindowObject {
public:
    SpeedWindow();

    BEGIN_MSG_MAP(SpeedWindow)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_NCHITTEST, OnHitTest)
        MESSAGE_HANDLER(WM_NCRBUTTONUP, OnRightClick)
        MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnDoubleClick)
        MESSAGE_HANDLER(WM_MOVING, OnMoving)
        MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
        MESSAGE_HANDLER(WM_NCRBUTTONDOWN, OnSwallow)
    END_MSG_MAP()

    // Makes the window, hidden, for the owner to be told of clicks. 0 when it could not be.
    int Create(HWND owner, const SpeedViewChoices& choices);
    void Destroy();
    // Shows the figures; the text is set and the picture painted only when they change.
    void Show(const SpeedHistory& history, int bits, int alert);
    void ApplyLook(int clickThrough, int opacity);
    // The look's colours: painted again at once when the window is there.
    void SetPalette(const Palette& palette);
    // Where the window is now, in 96-DPI units; 0 when it is not there.
    int ReadPlace(WindowPlace* place) const;
    const char* Text() const { return Words; }

private:
    void MakeFont();
    HDC Canvas(HDC dc, const RECT& area);
    void Paint(HDC dc, const RECT& area);
    // The picture through the canvas onto the window's DC.
    void Draw(HDC dc, const RECT& area);
    void PaintNow(const RECT& area);

    HWND Owner;
    UINT Dpi;
    OwnedFont Font;
    SpeedHistory Figures;
    int Bits;
    int Alert;
    Palette Colours;
    char Words[SpeedWindowTextChars];
    SpeedWindowPicture Current;  // of the figures last shown
    SpeedWindowPicture Painted;  // as last painted
    // Where the picture is drawn before it goes to the window at once, kept from one paint to
    // the next; the bitmap stays selected in the DC, which goes first.
    OwnedBitmap CanvasBitmap;
    OwnedDc CanvasDc;
    SIZE CanvasSize;

    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnHitTest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightClick(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDoubleClick(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMoving(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSwallow(UINT, WPARAM, LPARAM, BOOL&);
};

#endif
