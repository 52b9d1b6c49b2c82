// Reads the pixels of icons, bitmaps and windows back, for the picture tests and the README's
// picture tool.
#ifndef BRISVANE_ICONPIXELS_H
#define BRISVANE_ICONPIXELS_H

#include <windows.h>

#include <vector>

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

// A window's client area as it paints itself (WM_PRINTCLIENT) into a 32-bit bitmap: its pixels,
// top row first, as colour values; width and height get the client's size.
inline std::vector<COLORREF> PrintClientPixels(HWND window, int* width, int* height)
{
    RECT client;
    GetClientRect(window, &client);
    *width = client.right;
    *height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    WindowDc screen(window);
    HDC dc = CreateCompatibleDC(screen.Get());
    void* bits = NULL;
    OwnedBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0));
    HGDIOBJ old = SelectObject(dc, bitmap.Get());
    SendMessageW(window, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (int i = 0; bits != NULL && i < *width * *height; i++) {
        DWORD p = ((const DWORD*)bits)[i];
        pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

#endif
