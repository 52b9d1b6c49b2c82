#include "PaintedControl.h"

LRESULT PaintedControl::OnPaint(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (!Own()) {
        handled = FALSE;
        return 0;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window, &paint);
    if (dc != NULL)
        Paint(dc);
    EndPaint(Window, &paint);
    return 0;
}

LRESULT PaintedControl::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (!Own()) {
        handled = FALSE;
        return 0;
    }
    Paint((HDC)wParam);
    return 0;
}

LRESULT PaintedControl::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL& handled)
{
    // The paint covers it all.
    handled = Own();
    return 1;
}
