#include "DarkTitleBar.h"

#include "SystemFunction.h"

namespace {

constexpr DWORD ImmersiveDarkModeAttribute = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE
typedef HRESULT(WINAPI* SetAttributeFunction)(HWND, DWORD, LPCVOID, DWORD);

}  // namespace

void UseDarkTitleBar(HWND window, bool dark)
{
    if (window == NULL)
        return;
    UseSystemFunction<SetAttributeFunction>(L"dwmapi.dll", "DwmSetWindowAttribute",
                                            [&](SetAttributeFunction setAttribute) {
        BOOL value = dark ? TRUE : FALSE;
        setAttribute(window, ImmersiveDarkModeAttribute, &value, sizeof(value));
    });
}
