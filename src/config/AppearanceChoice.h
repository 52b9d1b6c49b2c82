// The look the user asks for in the INI file: [Appearance] Theme=system|light|dark. The program
// reads it and never writes it; a file without it follows the system.
#ifndef BRISVANE_APPEARANCECHOICE_H
#define BRISVANE_APPEARANCECHOICE_H

#include "IniDocument.h"
#include "Palette.h"

constexpr char AppearanceSection[] = "Appearance";

ThemeChoice ReadThemeChoice(IniDocument& document);

#endif
