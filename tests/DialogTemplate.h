// Checks a dialog template of the program's own resources against a table of its controls:
// each control's id, class, the style bits that matter and text, in template order (the tab
// order). Positions are left to the eye.
#ifndef BRISVANE_DIALOGTEMPLATE_H
#define BRISVANE_DIALOGTEMPLATE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

struct TemplateControl {
    int Id;              // -1 for a control without one
    std::string Class;   // predefined classes by name: "Button", "Edit", "Static", ...
    DWORD Style;         // bits that must be set; visibility and control type exactly so
    std::string Text;    // "#101" for a resource number
};

namespace dialog_template_detail {

// The listed bits set, and visibility and the control type (of buttons and statics) exactly as
// listed; other bits are the resource compiler's to choose.
inline void ExpectStyle(DWORD want, DWORD style, const std::string& className)
{
    DWORD exact = WS_VISIBLE;
    if (_stricmp(className.c_str(), "Button") == 0)
        exact |= BS_TYPEMASK;
    else if (_stricmp(className.c_str(), "Static") == 0)
        exact |= SS_TYPEMASK;
    EXPECT_EQ(want & exact, style & exact) << std::hex << style;
    EXPECT_EQ(want, style & want) << std::hex << style;
}

inline std::string ReadWide(const WORD*& p)
{
    std::string text;
    while (*p != 0)
        text += (char)(*p++ & 0xFF);  // the templates hold ASCII texts only
    p++;
    return text;
}

inline std::string ReadNameOrNumber(const WORD*& p)
{
    if (*p != 0xFFFF)
        return ReadWide(p);
    WORD number = p[1];
    p += 2;
    static const char* const predefined[] = {"Button", "Edit",      "Static",
                                             "ListBox", "ScrollBar", "ComboBox"};
    if (number >= 0x80 && number <= 0x85)
        return predefined[number - 0x80];
    return "#" + std::to_string(number);
}

}  // namespace dialog_template_detail

// Reads template templateId (a DIALOG, not a DIALOGEX) and expects its frame style, title and
// exactly the given controls.
inline void ExpectDialogTemplate(int templateId, DWORD style, const std::string& title,
                                 const std::vector<TemplateControl>& controls)
{
    using namespace dialog_template_detail;
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(templateId), (LPCSTR)RT_DIALOG);
    ASSERT_NE((HRSRC)NULL, resource) << "no template " << templateId;
    const BYTE* base = (const BYTE*)LockResource(LoadResource(module, resource));
    const DLGTEMPLATE* header = (const DLGTEMPLATE*)base;
    ASSERT_NE(0xFFFF, HIWORD(header->style)) << "a DIALOGEX template";
    ExpectStyle(style, header->style, "");
    const WORD* p = (const WORD*)(header + 1);
    ReadNameOrNumber(p);  // menu
    ReadNameOrNumber(p);  // class
    EXPECT_EQ(title, ReadWide(p));
    if (header->style & DS_SETFONT) {
        p++;  // point size
        ReadWide(p);
    }
    ASSERT_EQ(controls.size(), (size_t)header->cdit);
    for (const TemplateControl& want : controls) {
        // Each control starts on a DWORD boundary.
        p = (const WORD*)(base + (((const BYTE*)p - base + 3) & ~(size_t)3));
        const DLGITEMTEMPLATE* item = (const DLGITEMTEMPLATE*)p;
        p = (const WORD*)(item + 1);
        std::string className = ReadNameOrNumber(p);
        std::string text = ReadNameOrNumber(p);
        p = (const WORD*)((const BYTE*)(p + 1) + *p);  // creation data
        SCOPED_TRACE("control " + std::to_string(want.Id) + " \"" + want.Text + "\"");
        EXPECT_EQ((WORD)want.Id, item->id);
        EXPECT_EQ(0, _stricmp(want.Class.c_str(), className.c_str())) << className;
        ExpectStyle(want.Style, item->style, className);
        EXPECT_EQ(want.Text, text);
    }
}

#endif
