// A control's visual style turned off and on again, through uxtheme's SetWindowTheme looked up
// at run time: a themed check box, radio button, group box or combo box draws its text in the
// theme's colour whatever its parent's colour message says; a classic one takes that colour.
#ifndef BRISVANE_CONTROLTHEME_H
#define BRISVANE_CONTROLTHEME_H

#include <windows.h>

// classic: no visual style; else the application's again. Nothing without uxtheme.
void UseClassicTheme(HWND control, bool classic);

#endif
