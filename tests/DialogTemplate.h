// Reads a dialog template back from the program's own resources, for the tests that check a
// template control by control.
#ifndef BRISVANE_DIALOGTEMPLATE_H
#define BRISVANE_DIALOGTEMPLATE_H

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
    DWORD Style;
    DWORD ExStyle;
    short X, Y, Width, Height;
    WORD Id;
    std::string ClassName;  // ordinals as their class names ("Button", "Edit", ...)
    std::string Text;
};

struct DialogTemplateInfo {
    bool Found = false;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    short X = 0, Y = 0, Width = 0, Height = 0;
    std::string Menu;
    std::string ClassName;
    std::string Title;
    WORD PointSize = 0;
    std::string Font;
    std::vector<TemplateItem> Items;
};

namespace dialog_template_detail {

inline std::string ReadWide(const WORD*& p)
{
    std::string text;
    while (*p != 0)
        text += (char)(*p++ & 0xFF);  // the templates hold ASCII texts only
    p++;
    return text;
}

inline std::string ReadNameOrOrdinal(const WORD*& p)
{
    if (*p == 0xFFFF) {
        WORD ordinal = p[1];
        p += 2;
        switch (ordinal) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: return "#" + std::to_string(ordinal);
        }
    }
    return ReadWide(p);
}

inline const WORD* AlignDword(const WORD* p, const void* base)
{
    size_t offset = (size_t)((const BYTE*)p - (const BYTE*)base);
    return (const WORD*)((const BYTE*)base + ((offset + 3) & ~(size_t)3));
}

}  // namespace dialog_template_detail

// Reads a DIALOG (not DIALOGEX) template from the program's resources.
inline DialogTemplateInfo ReadDialogTemplate(int templateId)
{
    using namespace dialog_template_detail;
    DialogTemplateInfo info;
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(templateId), (LPCSTR)RT_DIALOG);
    if (resource == NULL)
        return info;
    const void* base = LockResource(LoadResource(module, resource));
    if (base == NULL)
        return info;
    const DLGTEMPLATE* header = (const DLGTEMPLATE*)base;
    if (HIWORD(header->style) == 0xFFFF)
        return info;  // DIALOGEX: not what this reader reads
    info.Found = true;
    info.Style = header->style;
    info.ExStyle = header->dwExtendedStyle;
    info.X = header->x;
    info.Y = header->y;
    info.Width = header->cx;
    info.Height = header->cy;
    const WORD* p = (const WORD*)(header + 1);
    info.Menu = ReadNameOrOrdinal(p);
    info.ClassName = ReadNameOrOrdinal(p);
    info.Title = ReadWide(p);
    if (header->style & DS_SETFONT) {
        info.PointSize = *p++;
        info.Font = ReadWide(p);
    }
    for (WORD i = 0; i < header->cdit; i++) {
        p = AlignDword(p, base);
        const DLGITEMTEMPLATE* item = (const DLGITEMTEMPLATE*)p;
        TemplateItem read;
        read.Style = item->style;
        read.ExStyle = item->dwExtendedStyle;
        read.X = item->x;
        read.Y = item->y;
        read.Width = item->cx;
        read.Height = item->cy;
        read.Id = item->id;
        p = (const WORD*)(item + 1);
        read.ClassName = ReadNameOrOrdinal(p);
        read.Text = ReadNameOrOrdinal(p);
        WORD extra = *p++;
        p = (const WORD*)((const BYTE*)p + extra);
        info.Items.push_back(read);
    }
    return info;
}

#endif
