#include "LanguageSetting.h"

#include "IniDocument.h"
#include "Platform.h"
#include "UiLanguage.h"

// Room for the names of many preferred languages; a longer list is read as none.
constexpr ULONG PreferredChars = 512;

LANGID ProgramLanguage(const char* iniPath)
{
    char code[16] = "";
    IniDocument document;
    if (iniPath != NULL && iniPath[0] != 0 && document.Read(iniPath))
        document.Get(APPEARANCE_SECTION, LANGUAGE_KEY, code, sizeof(code));

    wchar_t preferred[PreferredChars] = {};
    ULONG count = 0, chars = PreferredChars;
    if (Platform.ReadPreferredUILanguages == NULL ||
        !Platform.ReadPreferredUILanguages(MUI_LANGUAGE_NAME, &count, preferred, &chars))
        preferred[0] = preferred[1] = 0;
    preferred[PreferredChars - 2] = preferred[PreferredChars - 1] = 0;
    LANGID user = Platform.ReadUserUILanguage != NULL ? Platform.ReadUserUILanguage() : 0;
    return ChooseUiLanguage(code, user, preferred);
}
