#include "ThemePlatform.h"

namespace {

constexpr wchar_t PersonalizeKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

bool ReadRegistryPersonalizeValue(const wchar_t* name, DWORD* value)
{
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PersonalizeKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof(*value);
    LONG result = RegQueryValueExW(key, name, NULL, &type, (BYTE*)value, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(*value);
}

bool ReadHighContrast()
{
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

ThemePlatformCalls ThemePlatform = {ReadRegistryPersonalizeValue, ReadHighContrast};
