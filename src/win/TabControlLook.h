// An owner-drawn tab control in the look's colours: the control draws its tabs' frames and the
// strip around them in the system's face colour whatever its parent asks, so in the program's
// own colours it is painted here, whole, and the parent draws each tab's inside through
// WM_DRAWITEM as before; in the system's colours the control paints itself.
#ifndef BRISVANE_TABCONTROLLOOK_H
#define BRISVANE_TABCONTROLLOOK_H

#include <windows.h>

#include "PaintedControl.h"

class TabControlLook : public PaintedControl {
public:
    void Paint(HDC dc) override;
};

#endif
