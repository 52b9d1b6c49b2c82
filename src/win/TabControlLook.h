// An owner-drawn tab control in the look's colours: the control draws its tabs' frames and the
// strip around them in the system's face colour whatever its parent asks, so in the program's
// own colours it is painted here, whole, and the parent draws each tab's inside through
// WM_DRAWITEM as before; in the system's colours the control paints itself.
#ifndef BRISVANE_TABCONTROLLOOK_H
#define BRISVANE_TABCONTROLLOOK_H

#include <windows.h>

#include "ControlColours.h"
#include "WindowObject.h"

class TabControlLook : public WindowObject {
public:
    BEGIN_MSG_MAP(TabControlLook)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    END_MSG_MAP()

    void Paint(HDC dc);

    const ControlColours* Colours = nullptr;

private:
    bool Own() const { return Colours != nullptr && Colours->Paints(); }
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL& handled);
};

#endif
