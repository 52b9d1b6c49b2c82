// The windowing module: the program's instance and the list of objects that wait for the
// window being created for them, keyed by the creating thread.
#ifndef BRISVANE_WINDOWMODULE_H
#define BRISVANE_WINDOWMODULE_H

#include <windows.h>

class WindowObject;

// Windows being created wait here only between the creating call and their first message, one
// a nesting level (a window that creates another while it is created): a few at most.
#define MAX_CREATING_WINDOWS 32

struct CreateWndEntry {
    WindowObject* Object;
    DWORD ThreadId;
};

struct WindowModuleRecord {
    HINSTANCE Instance;
    CreateWndEntry Creating[MAX_CREATING_WINDOWS];  // the most recent last
    int CreatingCount;
};

extern WindowModuleRecord WindowModule;

void AtlModuleInit(HINSTANCE instance);
// Registers the class unless a class of that name exists already; fills in the instance and,
// when none is given, the arrow cursor. Returns the atom, 0 on failure. Every class of the
// program is a UTF-16 one, so its windows' texts reach it unchanged, whatever the code page.
ATOM AtlModuleRegisterWndClassInfo(WNDCLASSEXW* wc);
// Called right before the window or dialog of the object is created; 0 when too many wait.
int AtlModuleAddCreateWndData(WindowObject* object);
// Returns and forgets the object waiting on the current thread, or null.
WindowObject* AtlModuleExtractCreateWndData();
// Forgets the object if it still waits (its window was never created).
void AtlModuleRemoveCreateWndData(WindowObject* object);
void AtlModuleTerm();

#endif
