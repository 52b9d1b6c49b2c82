// The program's languages: which one a user gets, the numbered templates, and every language's
// resources against the English ones: each text with the same numbered parts, each menu with
// the same commands and no access key twice in one popup, each dialog with the same controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "InterfaceIdentity.h"
#include "LanguageMenu.h"
#include "LanguageResources.h"
#include "PeriodForecast.h"
#include "TrayIcon.h"
#include "TextTemplate.h"
#include "UiLanguage.h"
#include "Utf8Text.h"
#include "resource.h"

namespace {

const LANGID German = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID French = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
const LANGID Spanish = MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN);
const LANGID Brazilian = MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN);
const LANGID Simplified = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const LANGID Japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
const LANGID Dutch = MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH);

// Sets the program's language for one test and puts English back.
class InLanguage {
public:
    explicit InLanguage(LANGID language) { LanguageResources.Language = language; }
    ~InLanguage() { LanguageResources.Language = EnglishLanguage; }
};

std::string Utf8(const wchar_t* text, int length)
{
    std::wstring wide(text, length);
    std::string out(wide.size() * 3 + 1, '\0');
    out.resize(WideToUtf8(wide.c_str(), &out[0], out.size()));
    return out;
}

// The text of id in exactly that language; "" when it has none.
std::string TextIn(LANGID language, UINT id, bool* there = nullptr)
{
    int length = 0;
    const wchar_t* text = FindTextIn(language, id, &length);
    if (there != nullptr)
        *there = text != nullptr;
    return text != nullptr ? Utf8(text, length) : "";
}

// The length of the text of id in UTF-16 units.
int Units(LANGID language, UINT id)
{
    int length = 0;
    FindTextIn(language, id, &length);
    return length;
}

}  // namespace

TEST(UiLanguageTest, TheOverrideThenTheDisplayLanguageThenThePreferredOnesThenEnglish)
{
    struct Case {
        const char* Override;
        LANGID User;
        const wchar_t* Preferred;  // as GetUserPreferredUILanguages lists them
        LANGID Chosen;
    } cases[] = {
        {"de", EnglishLanguage, nullptr, German},
        {"DE", French, nullptr, German},
        {"pt-BR", EnglishLanguage, nullptr, Brazilian},
        {"pt", EnglishLanguage, nullptr, Brazilian},
        {"en", German, nullptr, EnglishLanguage},
        {"xx", French, nullptr, French},                             // unknown: Windows decides
        {"", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), nullptr, German},
        {nullptr, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), nullptr, Simplified},
        {nullptr, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), L"ja-JP\0", Japanese},
        {nullptr, Dutch, L"nl-NL\0es-MX\0", Spanish},
        {nullptr, Dutch, L"nl-NL\0zh-Hant-TW\0zh-TW\0", EnglishLanguage},
        {nullptr, Dutch, L"zh-Hans-CN\0", Simplified},
        {nullptr, Dutch, nullptr, EnglishLanguage},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.Chosen, ChooseUiLanguage(c.Override, c.User, c.Preferred))
            << (c.Override != nullptr ? c.Override : "(none)") << " " << std::hex << c.User;
    // Every language the program has is reached by its own code.
    for (const UiLanguageEntry& entry : UiLanguages)
        EXPECT_EQ(entry.Id, ChooseUiLanguage(entry.Code, Dutch, nullptr)) << entry.Code;
}

TEST(TextTemplateTest, NumberedPartsGoWhereTheTemplatePutsThemWithinTheBuffer)
{
    struct Case {
        const char* Template;
        std::vector<const char*> Parts;
        size_t Size;
        const char* Expected;
    } cases[] = {
        {"%2 before %1", {"a", "b"}, 64, "b before a"},
        {"100%% of %1", {"x"}, 64, "100% of x"},
        {"%1 and %3", {"a"}, 64, "a and "},  // a part not given is empty
        {"50% %q%", {}, 64, "50% %q%"},      // a lone sign stays
        {"%1%1", {"ab"}, 64, "abab"},
        {"%1", {"ab\xC3\xA9" "cd"}, 4, "ab"},  // never half a UTF-8 character
        {"%1 x", {"abcdef"}, 4, "abc"},
    };
    for (const Case& c : cases) {
        char buffer[64];
        int length = ExpandTemplate(buffer, c.Size, c.Template, c.Parts.data(), (int)c.Parts.size());
        EXPECT_STREQ(c.Expected, buffer) << c.Template;
        EXPECT_EQ(strlen(buffer), (size_t)length) << c.Template;
    }
    EXPECT_EQ(0x105u, TemplateParts("%1 %3 %%2 %9"));
}

TEST(LanguageResourcesTest, EveryLanguageHasEveryTextWithTheSameNumberedParts)
{
    int englishTexts = 0;
    std::string missing;
    for (UINT id = IDS_FIRST; id <= IDS_LAST; id++) {
        bool inEnglish = false;
        std::string english = TextIn(EnglishLanguage, id, &inEnglish);
        englishTexts += inEnglish;
        for (const UiLanguageEntry& entry : UiLanguages) {
            bool there = false;
            std::string text = TextIn(entry.Id, id, &there);
            if (there != inEnglish)
                missing += std::string("\n  ") + entry.Code + " " + (there ? "has" : "lacks") +
                           " text " + std::to_string(id);
            else if (there && Units(entry.Id, id) >= TextMaxChars)
                missing += std::string("\n  ") + entry.Code + " text " + std::to_string(id) +
                           " is too long to load";
            else if (there && TemplateParts(text.c_str()) != TemplateParts(english.c_str()))
                missing += std::string("\n  ") + entry.Code + " text " + std::to_string(id) +
                           " has other numbered parts: " + text;
        }
    }
    EXPECT_EQ("", missing);
    EXPECT_GE(englishTexts, 100);
}

TEST(LanguageResourcesTest, TextsThatFillFixedBuffersFitThemInEveryLanguage)
{
    // The page keeps its status and alert texts in SHORT_TEXT bytes; the tray tip's summary
    // has TRAY_TIP_CHARS and the forecast's tip line FORECAST_TIP_LINE_CHARS, with the widest
    // amounts (ten terabytes each way) and date.
    const UINT pageTexts[] = {IDS_STATUS_NOT_CONNECTED, IDS_STATUS_DISABLED,
                              IDS_STATUS_WAN_UNREACHABLE, IDS_STATUS_DISCONNECTED,
                              IDS_STATUS_CONNECTING, IDS_STATUS_WAN_CONNECTED,
                              IDS_STATUS_CONNECTED, IDS_ALERT_IN_PASSED, IDS_ALERT_OUT_PASSED,
                              IDS_ALERT_SUM_PASSED};
    for (const UiLanguageEntry& entry : UiLanguages) {
        InLanguage language(entry.Id);
        for (UINT id : pageTexts) {
            char text[4 * SHORT_TEXT];
            EXPECT_LT(LoadText(id, text, sizeof(text)), SHORT_TEXT) << entry.Code << " " << text;
        }
        char date[SHORT_DATE_CHARS * 2];
        char widest[SHORT_DATE_CHARS] = "";
        for (int month = 0; month < 12; month++) {
            LoadText(IDS_MONTH_FIRST + month, date, sizeof(date));
            EXPECT_LT(strlen(date) + 3, sizeof(widest)) << entry.Code << " " << date;
            if (strlen(date) > strlen(widest))
                strcpy(widest, date);
        }
        const char* dateParts[] = {"30", widest};
        FormatText(date, sizeof(date), IDS_SHORT_DATE, dateParts, 2);
        EXPECT_LT(strlen(date), (size_t)SHORT_DATE_CHARS) << entry.Code << " " << date;
        const char* amounts[] = {"9999.99 GB", "9999.99 GB", "19999.98 GB"};
        char summary[4 * TRAY_TIP_CHARS], trayTip[4 * TRAY_TIP_CHARS];
        FormatText(summary, sizeof(summary), IDS_TRAFFIC_SUMMARY, amounts, 3);
        const char* summaryPart[] = {summary};
        EXPECT_LT(FormatText(trayTip, sizeof(trayTip), IDS_TRAY_TIP, summaryPart, 1),
                  TRAY_TIP_CHARS) << entry.Code << " " << trayTip;
        char name[64], soFar[4 * FORECAST_LINE_CHARS], line[4 * FORECAST_LINE_CHARS];
        LoadText(IDS_NAME_OUT, name, sizeof(name));
        const char* soFarParts[] = {name, "9999.99 GB", "19999.98 GB", date};
        FormatText(soFar, sizeof(soFar), IDS_FORECAST_SO_FAR_NAMED, soFarParts, 4);
        const char* lineParts[] = {soFar, "9999.99 GB", "9999.99 GB"};
        EXPECT_LT(FormatText(line, sizeof(line), IDS_FORECAST_LIMIT_LEFT, lineParts, 3),
                  FORECAST_LINE_CHARS) << entry.Code << " " << line;
        const char* tipParts[] = {"9999.99 GB", "9999.99 GB", date};
        char tip[4 * FORECAST_TIP_LINE_CHARS];
        EXPECT_LT(FormatText(tip, sizeof(tip), IDS_FORECAST_TIP, tipParts, 3),
                  FORECAST_TIP_LINE_CHARS) << entry.Code << " " << tip;
    }
}

namespace {

// A menu's items as a line each: the command id, or ">" and the popup's items, "<" at its end.
// Access keys found twice in one popup are added to doubled.
void WalkMenu(HMENU menu, std::vector<std::string>& items, std::string& doubled,
              const char* code)
{
    std::set<wchar_t> keys;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        wchar_t text[256] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 256;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        for (const wchar_t* c = wcschr(text, L'&'); c != nullptr && c[1] != 0;
             c = wcschr(c + 2, L'&')) {
            if (c[1] == L'&')
                continue;
            wchar_t key = (wchar_t)(UINT_PTR)CharUpperW((LPWSTR)(UINT_PTR)c[1]);
            if (!keys.insert(key).second)
                doubled += std::string("\n  ") + code + ": " + Utf8(text, (int)wcslen(text));
        }
        if (info.hSubMenu != NULL) {
            items.push_back(">");
            WalkMenu(info.hSubMenu, items, doubled, code);
            items.push_back("<");
        } else {
            items.push_back((info.fType & MFT_SEPARATOR) ? "-" : std::to_string(info.wID));
        }
    }
}

std::vector<std::string> MenuItems(LANGID language, int menuId, std::string& doubled)
{
    InLanguage chosen(language);
    std::vector<std::string> items;
    // The language's own menu: loading it would fall back to English.
    EXPECT_NE(nullptr,
              FindResourceIn(language, (LPCWSTR)RT_MENU, MAKEINTRESOURCEW(menuId), nullptr))
        << UiLanguageCode(language) << " " << menuId;
    HMENU menu = LoadLanguageMenu(menuId);
    EXPECT_NE((HMENU)NULL, menu) << UiLanguageCode(language);
    if (menu != NULL) {
        WalkMenu(menu, items, doubled, UiLanguageCode(language));
        DestroyMenu(menu);
    }
    return items;
}

// A dialog template's controls in order, each as "id class", whatever the template's form.
std::vector<std::string> DialogControls(LANGID language, int templateId)
{
    std::vector<std::string> controls;
    const WORD* p = (const WORD*)FindResourceIn(language, (LPCWSTR)RT_DIALOG,
                                                MAKEINTRESOURCEW(templateId), nullptr);
    if (p == nullptr)
        return controls;
    bool extended = p[0] == 1 && p[1] == 0xFFFF;
    DWORD style = extended ? *(const DWORD*)(p + 6) : *(const DWORD*)p;
    int count = extended ? p[8] : p[4];
    p += extended ? 13 : 9;
    auto skip = [&p]() {
        if (*p == 0xFFFF)
            p += 2;
        else
            p += wcslen((const wchar_t*)p) + 1;
    };
    skip();  // menu
    skip();  // class
    skip();  // title
    if (style & DS_SETFONT) {
        p += extended ? 3 : 1;  // size, and weight, italic and charset
        skip();
    }
    for (int i = 0; i < count; i++) {
        p = (const WORD*)(((UINT_PTR)p + 3) & ~(UINT_PTR)3);
        p += extended ? 12 : 9;  // help id, styles, place and id
        DWORD id = extended ? *(const DWORD*)(p - 2) : p[-1];
        std::string className;
        if (*p == 0xFFFF) {
            className = std::to_string(p[1]);
            p += 2;
        } else {
            className = Utf8((const wchar_t*)p, (int)wcslen((const wchar_t*)p));
            p += wcslen((const wchar_t*)p) + 1;
        }
        skip();  // text
        p += 1 + *p / sizeof(WORD);  // creation data
        controls.push_back(std::to_string((int)(short)id) + " " + className);
    }
    return controls;
}

}  // namespace

TEST(LanguageResourcesTest, EveryMenuHasTheEnglishCommandsAndNoAccessKeyTwice)
{
    // English is the reference as it always was, W and T twice included.
    struct Case {
        int Menu;
        size_t Items;  // at least, in English
    } cases[] = {{IDR_TRAYMENU, 20}, {IDR_TABMENU, 4}};
    std::string englishDoubled, doubled;
    for (const Case& c : cases) {
        std::vector<std::string> english = MenuItems(EnglishLanguage, c.Menu, englishDoubled);
        EXPECT_GE(english.size(), c.Items) << c.Menu;
        for (const UiLanguageEntry& entry : UiLanguages)
            if (entry.Id != EnglishLanguage)
                EXPECT_EQ(english, MenuItems(entry.Id, c.Menu, doubled))
                    << entry.Code << " " << c.Menu;
    }
    EXPECT_EQ("", doubled);
}

TEST(LanguageResourcesTest, EveryDialogHasTheEnglishControlsInTheirOrder)
{
    for (int templateId : {IDD_PAGE, IDD_SETTINGS, IDD_HISTORY, IDD_ABOUT, IDD_ADAPTERS}) {
        std::vector<std::string> english = DialogControls(EnglishLanguage, templateId);
        EXPECT_GT(english.size(), 3u) << templateId;
        for (const UiLanguageEntry& entry : UiLanguages)
            EXPECT_EQ(english, DialogControls(entry.Id, templateId))
                << entry.Code << " " << templateId;
    }
}

TEST(LanguageResourcesTest, AMissingTextOrLanguageFallsBackToEnglish)
{
    InLanguage dutch(Dutch);  // a language the program does not have
    char text[64];
    LoadText(IDS_TIP_SETTINGS, text, sizeof(text));
    EXPECT_STREQ("Settings", text);
    LanguageResources.Language = German;
    LoadText(IDS_TIP_SETTINGS, text, sizeof(text));
    EXPECT_STREQ("Einstellungen", text);
    EXPECT_EQ(0, LoadText(IDS_LAST + 1, text, sizeof(text)));
    EXPECT_STREQ("", text);
}
