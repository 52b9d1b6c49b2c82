// The tab page of one adapter (dialog 134): shows an InterfaceMonitor's texts, status, byte
// amounts and alert. It owns nothing; the meter owns the monitor, the main window the page.
#ifndef BRISVANE_INTERFACEPAGE_H
#define BRISVANE_INTERFACEPAGE_H

#include <windows.h>

#include "GroupTitle.h"
#include "InterfaceMonitor.h"
#include "PageLook.h"
#include "WindowObject.h"

// The page's controls whose text changes from second to second, each with its shown-text slot.
enum PageFigure {
    FigureCurrentIn,
    FigurePeakIn,
    FigureAverageIn,
    FigureTotalIn,
    FigureCurrentOut,
    FigurePeakOut,
    FigureAverageOut,
    FigureTotalOut,
    FigureTotalAll,
    FigureStatus,
    FigureDuration,
    FigureAlert,
    PageFigureCount
};

class InterfacePage : public DialogObject {
public:
    explicit InterfacePage(InterfaceMonitor& monitor) : Monitor(monitor) {}

    BEGIN_MSG_MAP(InterfacePage)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStaticMessage)
        MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColorDialog)
    END_MSG_MAP()

    // Creates the page, hidden and without a caption, as a child of the tab control. Null on
    // failure.
    HWND Create(HWND tabControl);
    // Brings the page up to date while it can be seen; a page out of sight costs nothing.
    void Refresh();
    // Brings every control up to date whose text changed since it was last written.
    void ShowFigures();
    HBRUSH OnCtlColorStatic(HDC dc, HWND control, BOOL& handled);
    // Takes up its look, its group boxes' titles too.
    void FollowLook();
    // Gives the page the keyboard focus as a change of tabs does, with no field's text left
    // selected: the page is read, not edited.
    void TakeFocus();

    InterfaceMonitor& Monitor;
    bool TabConnected = true;  // how the page's tab was last drawn
    const PageLook* Look = nullptr;  // the main window's; none: the system's colours

private:
    void SetPageText(PageFigure figure, const char* text);
    void SetAmountText(PageFigure figure, unsigned __int64 amount);

    // Text last written into each page control, so unchanged texts are not written again.
    char ShownText[PageFigureCount][SHORT_TEXT] = {};
    DATE ShownSince = -1;  // the start day the "Since" control shows; none yet
    UINT ShownStatus = 0;  // the status text the page shows
    GroupTitle Titles[2];  // IN and OUT

    // No focus when made: pages are made out of sight, and a control focused there would make
    // the hidden main window the active one, with a caret blinking in it twice a second. The page
    // takes the focus when it shows (TakeFocus).
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnCtlColorStaticMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        return (LRESULT)OnCtlColorStatic((HDC)wParam, (HWND)lParam, handled);
    }
    LRESULT OnCtlColorDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        HBRUSH brush = Look != nullptr ? Look->ForPage() : NULL;
        handled = brush != NULL;
        return (LRESULT)brush;
    }
};

// The red of the pages' alert text, set by the main window while it lives.
extern HBRUSH AlertBrush;
// The page's status text of an adapter, as the id of one of the program's texts.
UINT StatusTextId(bool present, DWORD operStatus);
// Whether that status is a connection: the adapter is there and up, or a WAN link has its peer.
bool AdapterConnected(bool present, DWORD operStatus);

#endif
