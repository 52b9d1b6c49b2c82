// The tray icon that shows the speed: download over upload as short text, or the last seconds
// as bars; and the program's icon in high contrast, two arrows in the scheme's colours. Drawn
// pixel by pixel with a font of its own, so that it is crisp at the tray's sizes (16, 20, 24
// and 32 pixels) whatever fonts the system has.
#ifndef BRISVANE_SPEEDICON_H
#define BRISVANE_SPEEDICON_H

#include <windows.h>

#include "OwnedHandle.h"
#include "Palette.h"
#include "SpeedGraph.h"
#include "SpeedText.h"

// The largest tray icon drawn: 32 pixels at 200 %.
const int SpeedIconMaxSize = 64;

// Everything the icon shows: a new icon is made only when this changes.
struct SpeedIconContent {
    int Mode;  // SpeedTraySpeed, SpeedTrayGraph, or SpeedTrayProgramIcon for the arrows
    int Alert;
    int Size;
    TrayColours Colours;  // of the taskbar's look, plain or alert as Alert says
    char Down[ShortSpeedChars];
    char Up[ShortSpeedChars];
    int Bars;  // graph columns in use
    signed char DownBars[SpeedIconMaxSize];
    signed char UpBars[SpeedIconMaxSize];
};

// The tray's small-icon size at the DPI of the screen the taskbar is on.
int TrayIconSize();

// The content for the figures. size is the icon's side in pixels; colours are the look's
// plain and alert pair, MakeTrayColours's.
struct TrayColourPair {
    TrayColours Plain, Alert;
};
TrayColourPair MakeTrayColourPair(Look look, const SystemColours& system);
SpeedIconContent DescribeSpeedIcon(int mode, int alert, int size, int bits,
                                   const SpeedHistory& history, const TrayColourPair& colours);
bool SameSpeedIcon(const SpeedIconContent& a, const SpeedIconContent& b);

// Draws the icon into size * size pixels, top row first, as 0xAARRGGBB. 0 when the size is
// out of range.
int DrawSpeedIcon(const SpeedIconContent& content, DWORD* pixels);
// The icon itself; the caller owns it. Null when it could not be made.
HICON MakeSpeedIcon(const SpeedIconContent& content);

// The bitmaps speed icons are drawn in, kept from one icon to the next (made again only for a
// new size): the icon copies them, so the next drawing does not touch the icons made before.
class SpeedIconCanvas {
public:
    SpeedIconCanvas() : Size(0), Pixels(NULL) {}
    // As MakeSpeedIcon.
    HICON Make(const SpeedIconContent& content);

private:
    int Size;
    DWORD* Pixels;  // the colour bitmap's own
    OwnedBitmap Colour;
    OwnedBitmap Mask;
};

#endif
