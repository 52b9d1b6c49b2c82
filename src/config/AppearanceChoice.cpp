#include "AppearanceChoice.h"

ThemeChoice ReadThemeChoice(IniDocument& document)
{
    char value[16] = "";
    if (!document.Get(AppearanceSection, "Theme", value, sizeof(value)))
        return ThemeFollowsSystem;
    return ParseThemeChoice(value);
}
