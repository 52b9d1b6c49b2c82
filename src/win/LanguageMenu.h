// The menus of the language chosen, apart from the texts: a program that loads no menu (the
// report) then links none of the window calls.
#ifndef BRISVANE_LANGUAGEMENU_H
#define BRISVANE_LANGUAGEMENU_H

#include <windows.h>

// The menu in the program's language; null when it cannot be made. The caller destroys it.
HMENU LoadLanguageMenu(int id);

#endif
