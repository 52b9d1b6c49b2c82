#include "DarkTitleBar.h"

namespace {

constexpr DWORD ImmersiveDarkModeAttribute = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE
typedef HRESULT(WINAPI* SetAttributeFunction)(HWND, DWORD, LPCVOID, DWORD);

}  // namespace

void UseDarkTitleBar(HWND window, bool dark)
{
    if (window == NULL)
        return;
    // Only when the look changes: loading it each time costs nothing that matters.
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (dwm == NULL)
        return;
    SetAttributeFunction setAttribute =
        (SetAttributeFunction)(void*)GetProcAddress(dwm, "DwmSetWindowAttribute");
    if (setAttribute != nullptr) {
        BOOL value = dark ? TRUE : FALSE;
        setAttribute(window, ImmersiveDarkModeAttribute, &value, sizeof(value));
    }
    FreeLibrary(dwm);
}
