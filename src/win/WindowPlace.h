// A window's place kept in 96-DPI units, so that it means the same at any scaling, and brought
// back where the user can reach it: at least its title bar on a work area that is present.
//
// The position is measured at the system DPI (that of the primary monitor), the size at the DPI
// of the monitor the window is on: a window saved on a 150 % screen comes back there at the
// same place and the same size to the eye.
#ifndef BRISVANE_WINDOWPLACE_H
#define BRISVANE_WINDOWPLACE_H

#include <windows.h>

#include "Dpi.h"

// Left and top at the system DPI, width and height at the DPI of the window's monitor, all in
// 96-DPI units.
struct WindowPlace {
    int Left;
    int Top;
    int Width;
    int Height;
};

// The work area of one monitor (the screen less the taskbar), in pixels of the virtual screen,
// and the DPI its windows are drawn for.
struct WorkArea {
    RECT Area;
    UINT Dpi;
};

// What must stay reachable, in 96-DPI units.
struct PlaceRules {
    int CaptionHeight;    // the strip along the top that must lie within a work area
    int VisibleWidth;     // how much of that strip, at least (all of a narrower window)
    int MinimumWidth;     // a window is never made smaller than this
    int MinimumHeight;
};

// A caption and its frame at 100 %, a grip wide enough to take with the mouse, and a window
// big enough to show its caption buttons.
const PlaceRules DefaultPlaceRules = {32, 120, 120, 60};

// Values beyond this (in 96-DPI units, either way) are not a place on any screen: such a place
// is read as unreadable.
const int PlaceLimit = 1000000;

// The place to keep for a window whose rectangle, in pixels, is window.
WindowPlace PlaceOfWindow(const RECT& window, UINT systemDpi, UINT windowDpi);

// The rectangle, in pixels, to show a saved place in. Kept as it is when its title bar is
// reachable on a work area and it fits that area; otherwise it is moved (and shrunk to fit)
// into the work area it overlaps most, or, touching none, the nearest one (the first of equals:
// list the primary monitor first). With no work area the place is only turned into pixels.
RECT PlaceOnWorkArea(const WindowPlace& place, UINT systemDpi, const WorkArea* areas,
                     size_t count, const PlaceRules& rules = DefaultPlaceRules);

// The work areas of the monitors present, the primary first; at most capacity of them.
// Returns how many were written.
size_t CollectWorkAreas(const DpiFunctions& functions, WorkArea* areas, size_t capacity);

// The INI record: keys "Left", "Top", "Width", "Height", each a whole number as text.
const int PlaceKeyCount = 4;
extern const char* const PlaceKeys[PlaceKeyCount];
struct WindowPlaceText {
    char Values[PlaceKeyCount][16];  // in the order of PlaceKeys
};
WindowPlaceText FormatWindowPlace(const WindowPlace& place);
// Reads the four texts, in the order of PlaceKeys; 1 when each is a whole number within
// PlaceLimit, else 0 and place is left as it was (a missing key, null, reads as unreadable).
int ParseWindowPlace(const char* const values[PlaceKeyCount], WindowPlace* place);

#endif
