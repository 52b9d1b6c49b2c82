#include "UiLanguage.h"

#include <string.h>

const UiLanguageEntry UiLanguages[UiLanguageCount] = {
    {"en", EnglishLanguage},
    {"de", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},
    {"fr", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},
    {"es", MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)},
    {"pt-BR", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)},
    {"ru", MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA)},
    {"zh-CN", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)},
    {"ja", MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)},
};

LANGID MatchUiLanguage(LANGID wanted)
{
    WORD primary = PRIMARYLANGID(wanted);
    if (primary == LANG_CHINESE && SUBLANGID(wanted) != SUBLANG_CHINESE_SIMPLIFIED &&
        SUBLANGID(wanted) != SUBLANG_CHINESE_SINGAPORE)
        return 0;
    for (const UiLanguageEntry& entry : UiLanguages)
        if (PRIMARYLANGID(entry.Id) == primary)
            return entry.Id;
    return 0;
}

// The name's part up to the first '-' or '_', in lower case, within size bytes; 0 when none.
static int NamePart(const char* name, size_t* at, char* part, size_t size)
{
    size_t length = 0;
    while (name[*at] == '-' || name[*at] == '_')
        (*at)++;
    while (name[*at] != 0 && name[*at] != '-' && name[*at] != '_') {
        char c = name[(*at)++];
        if (length + 1 < size)
            part[length++] = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    }
    part[length] = 0;
    return length > 0;
}

LANGID MatchUiLanguageName(const char* name)
{
    if (name == NULL)
        return 0;
    size_t at = 0;
    char primary[8], region[8];
    if (!NamePart(name, &at, primary, sizeof(primary)))
        return 0;
    if (!NamePart(name, &at, region, sizeof(region)))
        region[0] = 0;
    if (strcmp(primary, "zh") == 0) {
        // Simplified is written as a script or by the regions that use it; a bare "zh" too.
        const char* simplified[] = {"", "hans", "cn", "sg"};
        for (const char* mark : simplified)
            if (strcmp(region, mark) == 0)
                return MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
        return 0;
    }
    for (const UiLanguageEntry& entry : UiLanguages)
        if (strncmp(entry.Code, primary, strlen(primary)) == 0 &&
            (entry.Code[strlen(primary)] == 0 || entry.Code[strlen(primary)] == '-'))
            return entry.Id;
    return 0;
}

LANGID ChooseUiLanguage(const char* overrideName, LANGID userLanguage,
                        const wchar_t* preferredNames)
{
    LANGID chosen = MatchUiLanguageName(overrideName);
    if (chosen == 0)
        chosen = MatchUiLanguage(userLanguage);
    for (const wchar_t* name = preferredNames; chosen == 0 && name != NULL && *name != 0;
         name += wcslen(name) + 1) {
        char narrow[16];
        size_t length = 0;
        for (; name[length] != 0 && length + 1 < sizeof(narrow); length++)
            narrow[length] = name[length] < 0x80 ? (char)name[length] : '?';
        narrow[length] = 0;
        chosen = MatchUiLanguageName(narrow);
    }
    return chosen != 0 ? chosen : EnglishLanguage;
}

const char* UiLanguageCode(LANGID language)
{
    for (const UiLanguageEntry& entry : UiLanguages)
        if (entry.Id == language)
            return entry.Code;
    return UiLanguages[0].Code;
}
