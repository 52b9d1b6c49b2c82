// The language of a run: the INI file's own section names it, else Windows' display language
// for the user, read through the platform seam, else the preferred ones.
#include <gtest/gtest.h>

#include "LanguageSetting.h"
#include "Platform.h"
#include "TestSupport.h"
#include "UiLanguage.h"

namespace {

LANGID FakeUserLanguage = 0;
const wchar_t* FakePreferred = L"\0";

LANGID WINAPI ReadFakeUserLanguage()
{
    return FakeUserLanguage;
}

BOOL WINAPI ReadFakePreferred(DWORD flags, PULONG count, PZZWSTR buffer, PULONG chars)
{
    EXPECT_EQ((DWORD)MUI_LANGUAGE_NAME, flags);
    size_t length = 0;
    while (FakePreferred[length] != 0 || FakePreferred[length + 1] != 0)
        length++;
    length += 2;
    if (length > *chars)
        return FALSE;
    memcpy(buffer, FakePreferred, length * sizeof(wchar_t));
    *count = 1;
    *chars = (ULONG)length;
    return TRUE;
}

}  // namespace

TEST(LanguageSettingTest, TheAppearanceSectionDecidesElseWindowsDoes)
{
    const PlatformCalls saved = Platform;
    Platform.ReadUserUILanguage = ReadFakeUserLanguage;
    Platform.ReadPreferredUILanguages = ReadFakePreferred;
    TempFolder folder;
    std::string ini = folder.Path("Brisvane.INI");
    struct Case {
        const char* Text;  // the INI file; null for none
        LANGID User;
        const wchar_t* Preferred;
        LANGID Chosen;
    } cases[] = {
        {nullptr, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), L"\0", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},
        {"[Appearance]\r\nLanguage=fr\r\n", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), L"\0",
         MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},
        // Only its own section counts.
        {"[Settings]\r\nLanguage=fr\r\n", MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH), L"ja-JP\0",
         MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)},
        {"[Appearance]\r\nLanguage=klingon\r\n", MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH), L"\0",
         EnglishLanguage},
    };
    for (const Case& c : cases) {
        DeleteFileA(ini.c_str());
        if (c.Text != nullptr)
            ASSERT_TRUE(WriteFileText(ini, c.Text));
        FakeUserLanguage = c.User;
        FakePreferred = c.Preferred;
        EXPECT_EQ(c.Chosen, ProgramLanguage(ini.c_str())) << (c.Text ? c.Text : "(no file)");
    }
    // Without the preferred languages (before Windows Vista) the display language still counts.
    Platform.ReadPreferredUILanguages = nullptr;
    FakeUserLanguage = MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA);
    EXPECT_EQ(MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), ProgramLanguage(""));
    Platform = saved;
}
