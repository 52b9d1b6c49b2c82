// Contrast between two colours, as the web's accessibility guidelines measure it, and a dimmed
// text colour that still reads.
#ifndef BRISVANE_CONTRAST_H
#define BRISVANE_CONTRAST_H

#include <windows.h>

// Text reads at 4.5:1; large text and graph marks at 3:1.
constexpr double ReadableContrast = 4.5;
constexpr double LargeTextContrast = 3.0;

// The relative luminance of a colour, 0 (black) to 1 (white).
double RelativeLuminance(COLORREF colour);
// The ratio of the lighter colour's luminance to the darker's, each plus 0.05: 1 to 21.
double ContrastRatio(COLORREF one, COLORREF other);
// A colour on the way from text to back: fraction 0 is text, 1 is back.
COLORREF BlendColour(COLORREF text, COLORREF back, double fraction);
// The dimmed colour for text that is to look faint on back: dim itself when it reads there at
// 4.5:1, else the colour nearest to it on the way to text that does. Text must read on back.
COLORREF ReadableDim(COLORREF dim, COLORREF text, COLORREF back);

#endif
