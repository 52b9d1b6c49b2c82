// The system's look as tests replace it: the light or dark choice of the apps and of the
// taskbar, and high contrast. The shipped program leaves it pointing at the platform.
#ifndef BRISVANE_THEMEPLATFORM_H
#define BRISVANE_THEMEPLATFORM_H

#include <windows.h>

// A DWORD value under the current user's Themes\Personalize key; false when it is not there.
typedef bool (*PersonalizeValueFunction)(const wchar_t* name, DWORD* value);
// Whether a high-contrast scheme is on (SPI_GETHIGHCONTRAST).
typedef bool (*HighContrastFunction)();

struct ThemePlatformCalls {
    PersonalizeValueFunction ReadPersonalizeValue;
    HighContrastFunction HighContrastOn;
};

extern ThemePlatformCalls ThemePlatform;

#endif
