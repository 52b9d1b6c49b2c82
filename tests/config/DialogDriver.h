// Helpers for the dialog tests: a step run inside a modal dialog's own loop, and a reader of
// dialog templates as the resource compiler wrote them.
#ifndef BRISVANE_DIALOGDRIVER_H
#define BRISVANE_DIALOGDRIVER_H

#include <windows.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

// Runs one step inside the modal loop of the next visible dialog with the given title on this
// thread, from a thread timer. A step that leaves the dialog open gets it closed with Cancel,
// so a broken step cannot hang the test; LeftOpen() then says so. One at a time.
class ModalStep {
public:
    ModalStep(const char* title, std::function<void(HWND)> step)
    {
        State& state = Current();
        state.Title = title;
        state.Step = step;
        state.Ran = false;
        state.LeftOpen = false;
        timer = SetTimer(NULL, 0, 20, Tick);
    }
    ~ModalStep()
    {
        KillTimer(NULL, timer);
        Current().Step = nullptr;
    }
    bool Ran() const { return Current().Ran; }
    bool LeftOpen() const { return Current().LeftOpen; }

private:
    struct State {
        std::string Title;
        std::function<void(HWND)> Step;
        bool Ran;
        bool LeftOpen;
        HWND Found;
    };
    static State& Current()
    {
        static State state;
        return state;
    }
    static BOOL CALLBACK Match(HWND window, LPARAM)
    {
        char className[64], title[128];
        className[0] = title[0] = 0;
        GetClassNameA(window, className, sizeof(className));
        GetWindowTextA(window, title, sizeof(title));
        if (strcmp(className, "#32770") == 0 && Current().Title == title &&
            IsWindowVisible(window)) {
            Current().Found = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        State& state = Current();
        if (!state.Step)
            return;
        state.Found = NULL;
        EnumThreadWindows(GetCurrentThreadId(), Match, 0);
        if (state.Found == NULL)
            return;
        if (!state.Ran) {
            state.Ran = true;
            state.Step(state.Found);
            return;
        }
        state.LeftOpen = true;
        PostMessageA(state.Found, WM_COMMAND, IDCANCEL, 0);
    }

    UINT_PTR timer;
};

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
