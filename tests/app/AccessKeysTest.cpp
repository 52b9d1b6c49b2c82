// Access keys: no two items of one menu level, and no two controls of one dialog, share one.
// Read from the resources themselves, every menu and dialog template in every language the
// program holds them in, and from the system menu as the main window extends it.
#include "MainWindowTestSupport.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "resource.h"

namespace {

// The key an item's or control's text offers, lower-cased: the letter after a single "&",
// before a tab's accelerator text; 0 for none.
wchar_t AccessKey(const std::wstring& text)
{
    for (size_t i = 0; i + 1 < text.size() && text[i] != L'\t'; i++) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            i++;  // "&&" is an ampersand
            continue;
        }
        return (wchar_t)(ULONG_PTR)CharLowerW((LPWSTR)(ULONG_PTR)text[i + 1]);
    }
    return 0;
}

// Texts by key; a report of every key that more than one of them has.
class KeyTable {
public:
    void Add(const std::wstring& text)
    {
        if (wchar_t key = AccessKey(text))
            texts[key].push_back(text);
    }
    std::string Clashes() const
    {
        std::string report;
        for (const auto& entry : texts) {
            if (entry.second.size() < 2)
                continue;
            report += " '" + Utf8(std::wstring(1, entry.first)) + "':";
            for (const std::wstring& text : entry.second)
                report += " \"" + Utf8(text) + "\"";
        }
        return report;
    }

private:
    static std::string Utf8(const std::wstring& text)
    {
        char buffer[256] = "";
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, buffer, sizeof(buffer), NULL, NULL);
        return buffer;
    }
    std::map<wchar_t, std::vector<std::wstring>> texts;
};

// Every level of a menu, each checked by itself; what clashes, by level.
void CollectMenuClashes(HMENU menu, const std::string& where, std::vector<std::string>& found)
{
    KeyTable keys;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; i++) {
        wchar_t text[256] = L"";
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE;
        item.dwTypeData = text;
        item.cch = 255;
        if (!GetMenuItemInfoW(menu, i, TRUE, &item))
            continue;
        if (!(item.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)))
            keys.Add(text);
        if (item.hSubMenu != NULL)
            CollectMenuClashes(item.hSubMenu, where + " > item " + std::to_string(i), found);
    }
    std::string clashes = keys.Clashes();
    if (!clashes.empty())
        found.push_back(where + ":" + clashes);
}

// A dialog template's controls, DIALOG and DIALOGEX alike.
struct TemplateItem {
    std::wstring Class;  // "#128" and on for the predefined classes by number
    DWORD Style;
    std::wstring Text;
};

std::wstring ReadNameOrOrdinal(const WORD*& p)
{
    if (*p == 0xFFFF) {
        std::wstring ordinal = L"#" + std::to_wstring(p[1]);
        p += 2;
        return ordinal;
    }
    std::wstring text;
    while (*p != 0)
        text += (wchar_t)*p++;
    p++;
    return text;
}

const WORD* AlignToDword(const WORD* p)
{
    return (const WORD*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
}

std::vector<TemplateItem> ReadTemplateItems(const BYTE* base)
{
    const WORD* words = (const WORD*)base;
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    DWORD style = 0;
    WORD count = 0;
    const WORD* p = NULL;
    if (extended) {
        style = *(const DWORD*)(base + 12);
        count = *(const WORD*)(base + 16);
        p = (const WORD*)(base + 26);
    } else {
        style = ((const DLGTEMPLATE*)base)->style;
        count = ((const DLGTEMPLATE*)base)->cdit;
        p = (const WORD*)(base + sizeof(DLGTEMPLATE));
    }
    ReadNameOrOrdinal(p);  // menu
    ReadNameOrOrdinal(p);  // class
    ReadNameOrOrdinal(p);  // caption
    if (style & DS_SETFONT) {
        p += extended ? 3 : 1;  // point size, and weight, italic and character set
        ReadNameOrOrdinal(p);
    }
    std::vector<TemplateItem> items;
    for (WORD i = 0; i < count; i++) {
        p = AlignToDword(p);
        TemplateItem item;
        if (extended) {
            item.Style = *(const DWORD*)(p + 4);
            p += 12;  // help id, extended style, style, position, size
            p += 2;   // the id: a DWORD
        } else {
            item.Style = *(const DWORD*)p;
            p += 8;  // style, extended style, position, size
            p += 1;  // the id: a WORD
        }
        item.Class = ReadNameOrOrdinal(p);
        item.Text = ReadNameOrOrdinal(p);
        WORD extra = *p++;
        p = (const WORD*)((const BYTE*)p + extra);
        items.push_back(item);
    }
    return items;
}

// Whether a control's own text gives it (or, for a label, the control after it) an access key.
bool TextIsAccessKey(const TemplateItem& item)
{
    if (item.Text.empty())
        return false;
    if (_wcsicmp(item.Class.c_str(), L"Button") == 0 || item.Class == L"#128")
        return true;
    if (_wcsicmp(item.Class.c_str(), L"Static") == 0 || item.Class == L"#130") {
        const DWORD type = item.Style & SS_TYPEMASK;
        const bool textType = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ||
                              type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        return textType && !(item.Style & SS_NOPREFIX);
    }
    return false;
}

std::string ResourceName(LPCWSTR name, WORD language)
{
    std::string text = IS_INTRESOURCE(name) ? std::to_string((ULONG_PTR)name) : "(named)";
    char languageText[16] = "";
    snprintf(languageText, sizeof(languageText), "%04x", language);
    return text + " in language " + languageText;
}

// Every (name, language) of one resource type in this program.
struct ResourceCopy {
    LPCWSTR Name;
    WORD Language;
};

// The resource types, in their UTF-16 form.
const LPCWSTR MenuType = MAKEINTRESOURCEW((ULONG_PTR)RT_MENU);
const LPCWSTR DialogType = MAKEINTRESOURCEW((ULONG_PTR)RT_DIALOG);

// The enumerations' callbacks: the system calls them with its own calling convention, which a
// lambda's function pointer does not have on 32-bit Windows.
BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names)
{
    ((std::vector<LPCWSTR>*)names)->push_back(name);
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages)
{
    ((std::vector<WORD>*)languages)->push_back(language);
    return TRUE;
}

std::vector<ResourceCopy> EveryCopy(LPCWSTR type)
{
    std::vector<LPCWSTR> names;
    EnumResourceNamesW(NULL, type, CollectName, (LONG_PTR)&names);
    std::vector<ResourceCopy> copies;
    for (LPCWSTR name : names) {
        std::vector<WORD> languages;
        EnumResourceLanguagesW(NULL, type, name, CollectLanguage, (LONG_PTR)&languages);
        for (WORD language : languages)
            copies.push_back({name, language});
    }
    return copies;
}

const BYTE* ResourceBytes(LPCWSTR type, const ResourceCopy& copy)
{
    HRSRC found = FindResourceExW(NULL, type, copy.Name, copy.Language);
    return found == NULL ? NULL : (const BYTE*)LockResource(LoadResource(NULL, found));
}

bool Holds(const std::vector<ResourceCopy>& copies, int id)
{
    for (const ResourceCopy& copy : copies)
        if (copy.Name == MAKEINTRESOURCEW(id))
            return true;
    return false;
}

}  // namespace

TEST(AccessKeysTest, NoTwoItemsOfOneMenuLevelShareAKeyInAnyLanguage)
{
    const std::vector<ResourceCopy> menus = EveryCopy(MenuType);
    ASSERT_TRUE(Holds(menus, IDR_TRAYMENU));
    std::vector<std::string> clashes;
    for (const ResourceCopy& copy : menus) {
        const BYTE* bytes = ResourceBytes(MenuType, copy);
        ASSERT_NE((const BYTE*)NULL, bytes);
        HMENU menu = LoadMenuIndirectW(bytes);
        ASSERT_NE((HMENU)NULL, menu);
        CollectMenuClashes(menu, "menu " + ResourceName(copy.Name, copy.Language), clashes);
        DestroyMenu(menu);
    }
    EXPECT_EQ(std::vector<std::string>(), clashes);
}

TEST(AccessKeysTest, NoTwoControlsOfOneDialogShareAKeyInAnyLanguage)
{
    const std::vector<ResourceCopy> dialogs = EveryCopy(DialogType);
    for (int id : {IDD_ABOUT, IDD_SETTINGS, IDD_PAGE, IDD_HISTORY})
        ASSERT_TRUE(Holds(dialogs, id)) << id;
    std::vector<std::string> clashes;
    int keysSeen = 0;
    for (const ResourceCopy& copy : dialogs) {
        const BYTE* bytes = ResourceBytes(DialogType, copy);
        ASSERT_NE((const BYTE*)NULL, bytes);
        KeyTable keys;
        for (const TemplateItem& item : ReadTemplateItems(bytes)) {
            if (!TextIsAccessKey(item))
                continue;
            keys.Add(item.Text);
            keysSeen += AccessKey(item.Text) != 0;
        }
        std::string found = keys.Clashes();
        if (!found.empty())
            clashes.push_back("dialog " + ResourceName(copy.Name, copy.Language) + ":" + found);
    }
    EXPECT_EQ(std::vector<std::string>(), clashes);
    EXPECT_GT(keysSeen, 10);  // the reader found the settings' and the history's keys
}

TEST(AccessKeysTest, AKeyIsTheLetterAfterASingleAmpersand)
{
    const std::pair<const wchar_t*, wchar_t> cases[] = {
        {L"Se&ttings...", L't'}, {L"&Close", L'c'},  {L"Fish && &Chips", L'c'},
        {L"No key", 0},          {L"A && B", 0},     {L"&Open\tCtrl+&O", L'o'},
        {L"Item\t&X", 0},        {L"&\u00c4nderung", L'\u00e4'}, {L"Trailing &", 0}};
    for (const auto& entry : cases)
        EXPECT_EQ(entry.second, AccessKey(entry.first)) << &entry - cases;
}

TEST_F(MainWindowTest, SystemMenuAddsNoKeyTheSystemsOwnItemsHave)
{
    ASSERT_NE((HWND)NULL, Create());
    HMENU system = GetSystemMenu(main.Window, FALSE);
    // The system's commands that Windows puts there, and the program's own below 0xF000; Wine
    // adds one of its own ("About Wine") that no Windows has.
    const UINT windows[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    KeyTable keys;
    int own = 0;
    for (int i = 0, count = GetMenuItemCount(system); i < count; i++) {
        UINT id = GetMenuItemID(system, i);
        bool ofWindows = std::find(std::begin(windows), std::end(windows), id) != std::end(windows);
        if (id == 0 || id == (UINT)-1 || (id >= 0xF000 && !ofWindows))
            continue;
        wchar_t text[256] = L"";
        GetMenuStringW(system, i, text, 256, MF_BYPOSITION);
        keys.Add(text);
        own += id < 0xF000;
    }
    EXPECT_EQ(2, own);  // Settings and About
    EXPECT_EQ("", keys.Clashes());
}
