// A function of a system library that older Windows may lack, looked up at run time for one
// use: the library is loaded for it and let go after (one the program holds already costs only
// a count). For calls made when the look changes or a window opens, not every second.
#ifndef BRISVANE_SYSTEMFUNCTION_H
#define BRISVANE_SYSTEMFUNCTION_H

#include <windows.h>

// Calls use(function); false, with nothing called, when the library or the function is missing.
template <typename Function, typename Use>
bool UseSystemFunction(const wchar_t* library, const char* name, Use use)
{
    HMODULE module = LoadLibraryW(library);
    if (module == NULL)
        return false;
    Function function = (Function)(void*)GetProcAddress(module, name);
    if (function != nullptr)
        use(function);
    FreeLibrary(module);
    return function != nullptr;
}

#endif
