// Reads the pixels of icons and bitmaps back, for the picture tests and the README's picture tool.
#ifndef BRISVANE_ICONPIXELS_H
#define BRISVANE_ICONPIXELS_H

#include <windows.h>

#include "OwnedHandle.h"

// A bitmap's 32-bit pixels, top row first; 0 when they cannot be read.
inline int ReadBitmapPixels(HBITMAP bitmap, int width, int height, DWORD* pixels)
{
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    WindowDc screen(NULL);
    return GetDIBits(screen.Get(), bitmap, 0, height, pixels, &format, DIB_RGB_COLORS) == height;
}

// The icon's colour pixels, top row first, as 0xAARRGGBB; 0 when they cannot be read.
inline int ReadIconPixels(HICON icon, int size, DWORD* pixels)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return 0;
    OwnedBitmap colour(info.hbmColor), mask(info.hbmMask);
    return ReadBitmapPixels(colour.Get(), size, size, pixels);
}

#endif
