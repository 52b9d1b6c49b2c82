// A common control painted whole by the program while the look's colours are its own (the
// control would draw parts of itself in the system's face colour whatever it is told), and left
// to paint itself in the system's colours. A subclass says how it paints.
#ifndef BRISVANE_PAINTEDCONTROL_H
#define BRISVANE_PAINTEDCONTROL_H

#include <windows.h>

#include "ControlColours.h"
#include "WindowObject.h"

class PaintedControl : public WindowObject {
public:
    BEGIN_MSG_MAP(PaintedControl)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    END_MSG_MAP()

    virtual void Paint(HDC dc) = 0;

    const ControlColours* Colours = nullptr;

protected:
    bool Own() const { return Colours != nullptr && Colours->Paints(); }

private:
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL& handled);
};

#endif
