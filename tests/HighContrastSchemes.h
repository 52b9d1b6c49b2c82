// Windows' two high-contrast schemes, black and white, as the system's colour pairs
// (ReadSystemColours's order).
#ifndef BRISVANE_TESTS_HIGHCONTRASTSCHEMES_H
#define BRISVANE_TESTS_HIGHCONTRASTSCHEMES_H

#include "Palette.h"

inline const SystemColours HighContrastBlack = {
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255),
    RGB(63, 242, 63),   RGB(26, 235, 255),  RGB(0, 0, 0), RGB(255, 255, 0)};
inline const SystemColours HighContrastWhite = {
    RGB(255, 255, 255), RGB(0, 0, 0),    RGB(255, 255, 255), RGB(0, 0, 0),
    RGB(96, 0, 0),      RGB(55, 0, 110), RGB(255, 255, 255), RGB(0, 0, 159)};

#endif
