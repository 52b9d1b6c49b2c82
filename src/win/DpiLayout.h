// What a window needs to draw itself for one DPI: the dialog font and its units, icons at the
// size of a system metric, the tool bar's image size, and children moved from one DPI to another.
#ifndef BRISVANE_DPILAYOUT_H
#define BRISVANE_DPILAYOUT_H

#include <windows.h>

#include "Dpi.h"
#include "OwnedHandle.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The font of the dialog templates ("MS Shell Dlg", 8 points) for a DPI; null on failure.
HFONT CreateDialogFont(UINT dpi);
// The dialog base units of a font, as the dialog manager works them out: the average width of
// the letters and the height of a line. {0, 0} when the font cannot be measured.
SIZE DialogBaseUnitsOf(HFONT font);
// Dialog units in pixels for the base units given.
int DialogUnitsToPixelsX(int units, SIZE baseUnits);
int DialogUnitsToPixelsY(int units, SIZE baseUnits);

// An icon resource of the module at the size of a system metric (SM_CXSMICON or SM_CXICON) for
// the DPI; the image of that size is taken, not another one shrunk. Null on failure.
HICON LoadIconForDpi(const DpiFunctions& functions, HINSTANCE instance, int id, int metric,
                     UINT dpi);

// Gives a window its caption and task-switcher icons at their sizes for the DPI; each icon that
// could be loaded replaces the one held, which the window no longer shows.
void SetWindowIconsForDpi(const DpiFunctions& functions, HWND window, HINSTANCE instance, int id,
                          UINT dpi, Owned<IconTraits>* small, Owned<IconTraits>* big);

// The tool bar image sizes drawn, in pixels, and the one nearest to 16 at 96 DPI scaled.
const int ToolBarImageSizes[] = {16, 24, 32};
const int ToolBarImageSizeCount = 3;
int ToolBarImageSizeFor(UINT dpi);

// The window's rectangle in its normal state, in screen coordinates, also while it is
// minimised or maximised (whose saved place Windows keeps in workspace coordinates).
BOOL NormalWindowRect(HWND window, RECT* rect);

// The children of parent, laid out in dialog units of the base units from, moved and sized for
// the base units to (across by the widths, down by the heights), each given the font (none:
// their font stays). Fonts do not grow in proportion to the DPI, so neither does this.
void ScaleChildren(HWND parent, SIZE from, SIZE to, HFONT font);

#endif
