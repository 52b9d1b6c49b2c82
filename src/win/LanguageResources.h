// The program's resources in its language: texts, dialog templates and menus found with an
// explicit language id (FindResourceExW), which Windows 7 and later and Wine all honour alike,
// English where the language lacks one.
#ifndef BRISVANE_LANGUAGERESOURCES_H
#define BRISVANE_LANGUAGERESOURCES_H

#include <windows.h>
#include <stddef.h>

// The language the resources are taken in; English until the program chooses one at start.
// The module is the program's own unless set (the windowing module's instance once it has one).
struct LanguageResourcesRecord {
    HMODULE Module;
    LANGID Language;
};
extern LanguageResourcesRecord LanguageResources;

// Texts longer than this many UTF-16 units are cut where they are loaded.
constexpr int TextMaxChars = 1024;

// The resource of that type and name in the program's language, else in English; null when
// neither has it. size gets its size in bytes.
const void* FindLanguageResource(LPCWSTR type, LPCWSTR name, DWORD* size);
// The same in one language only, no fallback.
const void* FindResourceIn(LANGID language, LPCWSTR type, LPCWSTR name, DWORD* size);

// A string table text, in UTF-16 without its end; length 0 and null when there is none.
const wchar_t* FindTextIn(LANGID language, UINT id, int* length);
// The text in the program's language (English when it lacks it) as UTF-8 within size bytes,
// never half a character; "" and 0 when neither has it, else its length in bytes.
int LoadText(UINT id, char* buffer, size_t size);
// The same in UTF-16 within chars characters.
int LoadTextW(UINT id, wchar_t* buffer, int chars);
// The text id with %1..%9 replaced by parts (see ExpandTemplate), as UTF-8 within size bytes.
int FormatText(char* buffer, size_t size, UINT id, const char* const* parts, int count);

// The shown name of a direction as files and JSON name it ("IN", "OUT", "IN+OUT"), in the
// program's language; any other name as it is.
int LoadFlowName(const char* name, char* buffer, size_t size);

#endif
