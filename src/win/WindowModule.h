// The windowing module: the program's instance and the list of objects that wait for the
// window being created for them, keyed by the creating thread.
#ifndef BRISVANE_WINDOWMODULE_H
#define BRISVANE_WINDOWMODULE_H

#include <windows.h>

class WindowObject;

struct CreateWndEntry {
    WindowObject* Object;
    DWORD ThreadId;
    CreateWndEntry* Next;
};

struct WindowModuleRecord {
    HINSTANCE Instance;
    CreateWndEntry* Creating;  // most recent first
};

extern WindowModuleRecord WindowModule;

void AtlModuleInit(HINSTANCE instance);
// Registers the class unless a class of that name exists already; fills in the instance and,
// when none is given, the arrow cursor. Returns the atom, 0 on failure. Every class of the
// program is a UTF-16 one, so its windows' texts reach it unchanged, whatever the code page.
ATOM AtlModuleRegisterWndClassInfo(WNDCLASSEXW* wc);
// Called right before the window or dialog of the object is created.
int AtlModuleAddCreateWndData(WindowObject* object);
// Returns and forgets the object waiting on the current thread, or null.
WindowObject* AtlModuleExtractCreateWndData();
// Forgets the object if it still waits (its window was never created).
void AtlModuleRemoveCreateWndData(WindowObject* object);
void AtlModuleTerm();

#endif
