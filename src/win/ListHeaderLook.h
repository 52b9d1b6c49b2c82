// A list view's column titles in the look's colours: the header control draws its items in the
// system's face colour whatever its list asks, so in the program's own colours it is painted
// here, whole; in the system's it paints itself.
#ifndef BRISVANE_LISTHEADERLOOK_H
#define BRISVANE_LISTHEADERLOOK_H

#include <windows.h>

#include "ControlColours.h"
#include "WindowObject.h"

class ListHeaderLook : public WindowObject {
public:
    BEGIN_MSG_MAP(ListHeaderLook)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    END_MSG_MAP()

    // Takes over the list view's header, painted in the colours; false when it has none.
    bool Take(HWND list, const ControlColours* colours);
    void Paint(HDC dc);

    const ControlColours* Colours = nullptr;

private:
    bool Own() const { return Colours != nullptr && Colours->Paints(); }
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL& handled);
};

#endif
