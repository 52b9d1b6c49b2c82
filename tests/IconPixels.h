// Reads an icon's colour pixels back, for the picture test and the README's picture tool alike.
#ifndef BRISVANE_ICONPIXELS_H
#define BRISVANE_ICONPIXELS_H

#include <windows.h>

#include "OwnedHandle.h"

// The icon's colour pixels, top row first, as 0x00RRGGBB; 0 when they cannot be read.
inline int ReadIconPixels(HICON icon, int size, DWORD* pixels)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return 0;
    OwnedBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = -size;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    WindowDc screen(NULL);
    return GetDIBits(screen.Get(), colour.Get(), 0, size, pixels, &format, DIB_RGB_COLORS) == size;
}

#endif
