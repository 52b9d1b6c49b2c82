// A list view's column titles in the look's colours: the header control draws its items in the
// system's face colour whatever its list asks, so in the program's own colours it is painted
// here, whole; in the system's it paints itself.
#ifndef BRISVANE_LISTHEADERLOOK_H
#define BRISVANE_LISTHEADERLOOK_H

#include <windows.h>

#include "PaintedControl.h"

class ListHeaderLook : public PaintedControl {
public:
    // Takes over the list view's header, painted in the colours; false when it has none.
    bool Take(HWND list, const ControlColours* colours);
    void Paint(HDC dc) override;
};

#endif
