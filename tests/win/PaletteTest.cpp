// The looks: which one the system and the INI file's choice ask for, and that every palette's
// pairs read (text at 4.5:1, graph marks at 3:1), high contrast from the system's own pairs.
#include <gtest/gtest.h>

#include <string>

#include "Contrast.h"
#include "HighContrastSchemes.h"
#include "Palette.h"
#include "ThemePlatform.h"

namespace {

DWORD FakeApps, FakeTaskbar;
bool FakeHasValues, FakeHighContrast;

bool FakePersonalizeValue(const wchar_t* name, DWORD* value)
{
    if (!FakeHasValues)
        return false;
    *value = wcscmp(name, L"AppsUseLightTheme") == 0 ? FakeApps : FakeTaskbar;
    return true;
}

bool FakeHighContrastOn()
{
    return FakeHighContrast;
}

}  // namespace

TEST(Palette, TheChoiceIsReadInAnyCaseAndAnythingElseFollowsTheSystem)
{
    const std::pair<const char*, ThemeChoice> cases[] = {
        {"light", ThemeLight}, {"DARK", ThemeDark},        {"system", ThemeFollowsSystem},
        {"", ThemeFollowsSystem}, {NULL, ThemeFollowsSystem}, {"darker", ThemeFollowsSystem}};
    for (const auto& entry : cases) {
        EXPECT_EQ(entry.second, ParseThemeChoice(entry.first)) << (entry.first ? entry.first : "");
        EXPECT_EQ(entry.second, ParseThemeChoice(ThemeChoiceText(entry.second)));
    }
}

TEST(Palette, HighContrastWinsThenTheChoiceThenTheSystem)
{
    for (int apps = 0; apps < 2; apps++)
        for (int contrast = 0; contrast < 2; contrast++)
            for (ThemeChoice choice : {ThemeFollowsSystem, ThemeLight, ThemeDark}) {
                SystemLook system = {apps != 0, apps == 0, contrast != 0};
                Look want = contrast                   ? LookHighContrast
                            : choice == ThemeLight     ? LookLight
                            : choice == ThemeDark      ? LookDark
                            : apps                     ? LookLight
                                                       : LookDark;
                EXPECT_EQ(want, WindowLook(system, choice)) << apps << contrast << choice;
                // The tray icons go by the taskbar, whatever the windows' choice.
                EXPECT_EQ(contrast ? LookHighContrast : apps ? LookDark : LookLight,
                          TaskbarLook(system));
            }
}

TEST(Palette, TheSystemsLookComesThroughThePlatformAndIsLightWithoutItsValues)
{
    const ThemePlatformCalls saved = ThemePlatform;
    ThemePlatform = {FakePersonalizeValue, FakeHighContrastOn};
    FakeHasValues = false;
    FakeHighContrast = false;
    SystemLook look = ReadSystemLook();
    EXPECT_TRUE(look.AppsLight && look.TaskbarLight && !look.HighContrast);
    FakeHasValues = true;
    FakeApps = 0;
    FakeTaskbar = 1;
    FakeHighContrast = true;
    look = ReadSystemLook();
    EXPECT_FALSE(look.AppsLight);
    EXPECT_TRUE(look.TaskbarLight);
    EXPECT_TRUE(look.HighContrast);
    ThemePlatform = saved;
}

TEST(Palette, EveryPaletteReadsAndTheAlertKeepsItsRedOutsideHighContrast)
{
    const struct {
        const char* Name;
        Look Look;
        SystemColours System;
    } cases[] = {{"light", LookLight, HighContrastBlack},
                 {"dark", LookDark, HighContrastBlack},
                 {"high contrast black", LookHighContrast, HighContrastBlack},
                 {"high contrast white", LookHighContrast, HighContrastWhite}};
    for (const auto& entry : cases) {
        const Palette p = MakePalette(entry.Look, entry.System);
        const struct {
            const char* Pair;
            COLORREF Fore, Back;
            double Least;
        } pairs[] = {
            {"text", p.Text, p.Back, ReadableContrast},
            {"field text", p.Text, p.FieldBack, ReadableContrast},
            {"dim text", p.DimText, p.Back, ReadableContrast},
            {"link", p.Link, p.Back, ReadableContrast},
            {"alert", p.AlertText, p.AlertBack, ReadableContrast},
            {"speed figures", p.SpeedText, p.SpeedBack, ReadableContrast},
            {"speed figures on the graph", p.SpeedText, p.SpeedGraphBack, ReadableContrast},
            {"IN bars", p.GraphIn, p.FieldBack, LargeTextContrast},
            {"OUT bars", p.GraphOut, p.FieldBack, LargeTextContrast},
            {"IN bars in the speed window", p.GraphIn, p.SpeedGraphBack, LargeTextContrast},
            {"OUT bars in the speed window", p.GraphOut, p.SpeedGraphBack, LargeTextContrast},
        };
        for (const auto& pair : pairs)
            EXPECT_GE(ContrastRatio(pair.Fore, pair.Back), pair.Least)
                << entry.Name << ": " << pair.Pair;
        EXPECT_NE(p.GraphIn, p.GraphOut) << entry.Name;
        if (entry.Look == LookHighContrast) {
            EXPECT_EQ(entry.System.Highlight, p.AlertBack);
            EXPECT_EQ(entry.System.HighlightText, p.AlertText);
            EXPECT_EQ(entry.System.Window, p.Back);
        } else {
            EXPECT_EQ(RGB(255, 0, 0), p.AlertBack) << entry.Name;
            EXPECT_EQ(RGB(0, 0, 0), p.AlertText) << entry.Name;
        }
        const bool darkBack = entry.Look == LookHighContrast && entry.System.Window == RGB(0, 0, 0);
        EXPECT_EQ(entry.Look == LookDark || darkBack, p.Dark) << entry.Name;
    }
}

TEST(Palette, TrayIconColoursReadOnTheirFieldInEveryLookAlertOrNot)
{
    // A scheme of the user's own whose highlight hardly differs from its window colour: the
    // bars that would take it take the text colour instead.
    const SystemColours faint = {RGB(0, 0, 48),     RGB(255, 255, 0), RGB(0, 0, 48),
                                 RGB(255, 255, 0),  RGB(128, 128, 0), RGB(0, 0, 80),
                                 RGB(255, 255, 255), RGB(0, 255, 255)};
    const struct {
        const char* Name;
        Look Look;
        SystemColours System;
    } cases[] = {{"light", LookLight, HighContrastBlack},
                 {"dark", LookDark, HighContrastBlack},
                 {"high contrast black", LookHighContrast, HighContrastBlack},
                 {"high contrast white", LookHighContrast, HighContrastWhite},
                 {"high contrast, faint highlight", LookHighContrast, faint}};
    for (const auto& entry : cases)
        for (bool alert : {false, true}) {
            SCOPED_TRACE(std::string(entry.Name) + (alert ? ", alert" : ""));
            const TrayColours c = MakeTrayColours(entry.Look, entry.System, alert);
            EXPECT_GE(ContrastRatio(c.Down, c.Back), ReadableContrast);
            EXPECT_GE(ContrastRatio(c.Up, c.Back), ReadableContrast);
            EXPECT_GE(ContrastRatio(c.DownBar, c.Back), LargeTextContrast);
            EXPECT_GE(ContrastRatio(c.UpBar, c.Back), LargeTextContrast);
            if (entry.Look == LookHighContrast)
                EXPECT_EQ(alert ? entry.System.Highlight : entry.System.Window, c.Back);
            else if (alert)
                EXPECT_EQ(RGB(255, 0, 0), c.Back);
        }
}
