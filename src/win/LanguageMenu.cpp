#include "LanguageMenu.h"

#include "LanguageResources.h"

HMENU LoadLanguageMenu(int id)
{
    const void* menu = FindLanguageResource((LPCWSTR)RT_MENU, MAKEINTRESOURCEW(id), NULL);
    return menu != NULL ? LoadMenuIndirectW(menu) : NULL;
}
