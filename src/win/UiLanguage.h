// The languages the program's windows and the report speak, and which one a user gets: the
// INI file's override, else Windows' display language for the user, else the first of the
// user's preferred display languages that the program has, else English.
#ifndef BRISVANE_UILANGUAGE_H
#define BRISVANE_UILANGUAGE_H

#include <windows.h>

struct UiLanguageEntry {
    const char* Code;  // as the INI file's override names it: "de", "pt-BR", "zh-CN"
    LANGID Id;         // the language of its resources
};

constexpr int UiLanguageCount = 8;
// English first: the reference, and the fallback for any text a language lacks.
extern const UiLanguageEntry UiLanguages[UiLanguageCount];
constexpr LANGID EnglishLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The program's language for a Windows language, or 0 when it has none: the same primary
// language will do (German of Austria reads German), except that Chinese is Simplified Chinese
// only where Windows writes it so.
LANGID MatchUiLanguage(LANGID wanted);
// The same for a language name as Windows and the INI file write it ("de-AT", "pt", "zh-Hans").
LANGID MatchUiLanguageName(const char* name);
// The choice: the override's language when the program has it, else the user's display
// language, else the first match among the preferred names (a list of names each ended by a
// zero, the list by another, as GetUserPreferredUILanguages gives it; null for none), else
// English.
LANGID ChooseUiLanguage(const char* overrideName, LANGID userLanguage,
                        const wchar_t* preferredNames);
// The override's code of a language, "en" when the program does not have it.
const char* UiLanguageCode(LANGID language);

#endif
