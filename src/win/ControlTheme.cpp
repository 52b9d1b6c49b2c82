#include "ControlTheme.h"

namespace {

typedef HRESULT(WINAPI* SetThemeFunction)(HWND, LPCWSTR, LPCWSTR);

}  // namespace

void UseClassicTheme(HWND control, bool classic)
{
    if (control == NULL)
        return;
    // Only when the look changes or a window opens: loading it each time costs nothing that
    // matters (a themed program has it loaded already).
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (uxtheme == NULL)
        return;
    SetThemeFunction setTheme = (SetThemeFunction)(void*)GetProcAddress(uxtheme, "SetWindowTheme");
    if (setTheme != nullptr) {
        // Empty names match no theme class: the control draws as without visual styles. Null
        // names give it back the application's theme.
        if (classic)
            setTheme(control, L"", L"");
        else
            setTheme(control, NULL, NULL);
    }
    FreeLibrary(uxtheme);
}
