#include "Palette.h"

#include <string.h>

#include "Contrast.h"
#include "ThemePlatform.h"

namespace {

// The alert keeps its red with black text in light and dark (5.25:1).
constexpr COLORREF AlertRed = RGB(255, 0, 0);
constexpr COLORREF AlertInk = RGB(0, 0, 0);

// The first of the colours that stands out from back at ratio, else fallback.
COLORREF FirstReadable(COLORREF wanted, COLORREF back, double ratio, COLORREF fallback)
{
    return ContrastRatio(wanted, back) >= ratio ? wanted : fallback;
}

bool LightValue(const wchar_t* name)
{
    DWORD value = 1;
    if (ThemePlatform.ReadPersonalizeValue == nullptr ||
        !ThemePlatform.ReadPersonalizeValue(name, &value))
        return true;
    return value != 0;
}

}  // namespace

ThemeChoice ParseThemeChoice(const char* text)
{
    if (text != NULL && _stricmp(text, "light") == 0)
        return ThemeLight;
    if (text != NULL && _stricmp(text, "dark") == 0)
        return ThemeDark;
    return ThemeFollowsSystem;
}

const char* ThemeChoiceText(ThemeChoice choice)
{
    return choice == ThemeLight ? "light" : choice == ThemeDark ? "dark" : "system";
}

Look WindowLook(const SystemLook& system, ThemeChoice choice)
{
    if (system.HighContrast)
        return LookHighContrast;
    if (choice == ThemeLight)
        return LookLight;
    if (choice == ThemeDark)
        return LookDark;
    return system.AppsLight ? LookLight : LookDark;
}

Look TaskbarLook(const SystemLook& system)
{
    if (system.HighContrast)
        return LookHighContrast;
    return system.TaskbarLight ? LookLight : LookDark;
}

SystemLook ReadSystemLook()
{
    SystemLook look;
    look.AppsLight = LightValue(L"AppsUseLightTheme");
    look.TaskbarLight = LightValue(L"SystemUsesLightTheme");
    look.HighContrast = ThemePlatform.HighContrastOn != nullptr && ThemePlatform.HighContrastOn();
    return look;
}

SystemColours ReadSystemColours()
{
    SystemColours colours;
    colours.Window = GetSysColor(COLOR_WINDOW);
    colours.WindowText = GetSysColor(COLOR_WINDOWTEXT);
    colours.Face = GetSysColor(COLOR_BTNFACE);
    colours.FaceText = GetSysColor(COLOR_BTNTEXT);
    colours.GrayText = GetSysColor(COLOR_GRAYTEXT);
    colours.Highlight = GetSysColor(COLOR_HIGHLIGHT);
    colours.HighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    colours.HotLight = GetSysColor(COLOR_HOTLIGHT);
    return colours;
}

Palette MakePalette(Look look, const SystemColours& system)
{
    Palette palette;
    switch (look) {
    case LookDark:
        palette.Dark = true;
        palette.Back = RGB(32, 32, 32);
        palette.Text = RGB(255, 255, 255);
        palette.FieldBack = RGB(43, 43, 43);
        palette.DimText = RGB(170, 170, 170);
        palette.Link = RGB(120, 190, 255);
        palette.GraphIn = RGB(76, 194, 255);
        palette.GraphOut = RGB(255, 170, 68);
        palette.AlertBack = AlertRed;
        palette.AlertText = AlertInk;
        palette.SpeedBack = RGB(20, 20, 20);
        palette.SpeedText = RGB(255, 255, 255);
        palette.SpeedGraphBack = RGB(32, 32, 32);
        break;
    case LookHighContrast:
        // The user's own pairs, each colour against its partner.
        palette.Dark = RelativeLuminance(system.Window) < 0.5;
        palette.Back = system.Window;
        palette.Text = system.WindowText;
        palette.FieldBack = system.Window;
        palette.DimText = ReadableDim(system.GrayText, system.WindowText, system.Window);
        palette.Link = ContrastRatio(system.HotLight, system.Window) >= ReadableContrast
                           ? system.HotLight
                           : system.WindowText;
        palette.GraphIn = system.Highlight;
        palette.GraphOut = system.WindowText;
        palette.AlertBack = system.Highlight;
        palette.AlertText = system.HighlightText;
        palette.SpeedBack = system.Window;
        palette.SpeedText = system.WindowText;
        palette.SpeedGraphBack = system.Window;
        break;
    case LookLight:
    default:
        palette.Dark = false;
        palette.Back = RGB(240, 240, 240);
        palette.Text = RGB(0, 0, 0);
        palette.FieldBack = RGB(255, 255, 255);
        palette.DimText = RGB(96, 96, 96);
        palette.Link = RGB(0, 84, 166);
        palette.GraphIn = RGB(0, 103, 192);
        palette.GraphOut = RGB(186, 84, 0);
        palette.AlertBack = AlertRed;
        palette.AlertText = AlertInk;
        palette.SpeedBack = RGB(255, 255, 255);
        palette.SpeedText = RGB(0, 0, 0);
        palette.SpeedGraphBack = RGB(240, 240, 240);
        break;
    }
    return palette;
}

TrayColours MakeTrayColours(Look look, const SystemColours& system, bool alert)
{
    TrayColours colours;
    if (look == LookHighContrast) {
        const COLORREF back = alert ? system.Highlight : system.Window;
        const COLORREF text = alert ? system.HighlightText : system.WindowText;
        colours.Back = back;
        colours.Down = text;
        colours.Up = text;
        // Upload grows down, download up: told apart by where they are, the colour may be one.
        colours.DownBar =
            alert ? text : FirstReadable(system.Highlight, back, LargeTextContrast, text);
        colours.UpBar = text;
        return colours;
    }
    if (alert) {
        colours.Back = AlertRed;
        colours.Down = AlertInk;
        colours.Up = AlertInk;
        colours.DownBar = AlertInk;                  // 5.25:1 on the red
        colours.UpBar = RGB(255, 255, 255);         // 4:1
        return colours;
    }
    if (look == LookDark) {
        colours.Back = RGB(32, 32, 32);
        colours.Down = RGB(255, 255, 255);
        colours.Up = RGB(120, 200, 255);
        colours.DownBar = RGB(76, 194, 255);
        colours.UpBar = RGB(255, 170, 68);
        return colours;
    }
    colours.Back = RGB(243, 243, 243);
    colours.Down = RGB(0, 0, 0);
    colours.Up = RGB(0, 84, 166);
    colours.DownBar = RGB(0, 103, 192);
    colours.UpBar = RGB(186, 84, 0);
    return colours;
}
