// The language of the program's texts for a run, decided once at start: the INI file's own
// section "Appearance" may name one ("Language=de"), else Windows' display language for the
// user decides. Read only: the program never writes the key.
#ifndef BRISVANE_LANGUAGESETTING_H
#define BRISVANE_LANGUAGESETTING_H

#include <windows.h>

#define APPEARANCE_SECTION "Appearance"
#define LANGUAGE_KEY "Language"

// The language for the INI file at iniPath (which may be missing or empty).
LANGID ProgramLanguage(const char* iniPath);

#endif
