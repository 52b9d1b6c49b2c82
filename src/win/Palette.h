// The program's looks (light, dark, high contrast), which one the system and the user's choice
// ask for, and the colours of each: every colour the program picks itself comes from here.
#ifndef BRISVANE_PALETTE_H
#define BRISVANE_PALETTE_H

#include <windows.h>

// The user's choice in the INI file: [Appearance] Theme=system|light|dark.
enum ThemeChoice { ThemeFollowsSystem, ThemeLight, ThemeDark };
enum Look { LookLight, LookDark, LookHighContrast };

// What the system says of its look.
struct SystemLook {
    bool AppsLight;     // AppsUseLightTheme; light when the value is not there (before Windows 10)
    bool TaskbarLight;  // SystemUsesLightTheme; the same
    bool HighContrast;
};

// "light" and "dark" in any case; anything else, and nothing, follows the system.
ThemeChoice ParseThemeChoice(const char* text);
const char* ThemeChoiceText(ThemeChoice choice);
// The windows' look: high contrast whatever the choice, for whoever needs it; else the choice;
// else the apps' light or dark.
Look WindowLook(const SystemLook& system, ThemeChoice choice);
// The tray icons' look: they lie on the taskbar, so its light or dark, or high contrast.
Look TaskbarLook(const SystemLook& system);
// The system's look now, through ThemePlatform.
SystemLook ReadSystemLook();

// The system's colour pairs that a high-contrast look takes its colours from.
struct SystemColours {
    COLORREF Window, WindowText;
    COLORREF Face, FaceText;
    COLORREF GrayText;
    COLORREF Highlight, HighlightText;
    COLORREF HotLight;
};
SystemColours ReadSystemColours();  // GetSysColor

struct Palette {
    bool Dark;               // dark title bars and controls
    COLORREF Back, Text;     // windows, pages, dialogs
    COLORREF FieldBack;      // read-only fields and lists
    COLORREF DimText;        // a faint text that still reads on Back
    COLORREF Link;
    COLORREF GraphIn, GraphOut;    // the chart's and the speed window's bars, on Back
    COLORREF AlertBack, AlertText;
    COLORREF SpeedBack, SpeedText;  // the speed window's figures and their band
    COLORREF SpeedGraphBack;
};
// The colours of a look; high contrast takes them from the system's pairs.
Palette MakePalette(Look look, const SystemColours& system);

// The colours of the icons drawn for the tray: an opaque background close to the taskbar's,
// figures that read on it at 4.5:1 and bars that stand out from it at 3:1.
struct TrayColours {
    COLORREF Back;
    COLORREF Down, Up;        // the figures' two lines, and the plain icon's arrows
    COLORREF DownBar, UpBar;  // the graph's
};
// For a taskbar look (TaskbarLook), plain or with the alert on: the alert keeps its red with
// black in light and dark, and takes the highlight pair in high contrast.
TrayColours MakeTrayColours(Look look, const SystemColours& system, bool alert);

#endif
