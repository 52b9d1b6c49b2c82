#include "ControlTheme.h"

#include "SystemFunction.h"

namespace {

typedef HRESULT(WINAPI* SetThemeFunction)(HWND, LPCWSTR, LPCWSTR);

}  // namespace

void UseClassicTheme(HWND control, bool classic)
{
    if (control == NULL)
        return;
    UseSystemFunction<SetThemeFunction>(L"uxtheme.dll", "SetWindowTheme",
                                        [&](SetThemeFunction setTheme) {
        // Empty names match no theme class: the control draws as without visual styles. Null
        // names give it back the application's theme.
        if (classic)
            setTheme(control, L"", L"");
        else
            setTheme(control, NULL, NULL);
    });
}
