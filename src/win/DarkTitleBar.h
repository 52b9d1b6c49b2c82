// A dark title bar for a window, through the DWM attribute that Windows 10 (20H1) and later
// know; looked up at run time, so that older systems keep their light one.
#ifndef BRISVANE_DARKTITLEBAR_H
#define BRISVANE_DARKTITLEBAR_H

#include <windows.h>

void UseDarkTitleBar(HWND window, bool dark);

#endif
