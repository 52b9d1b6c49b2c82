#include "WindowModule.h"

#include <stdlib.h>

WindowModuleRecord WindowModule = {NULL, NULL};

void AtlModuleInit(HINSTANCE instance)
{
    WindowModule.Instance = instance;
    WindowModule.Creating = NULL;
}

ATOM AtlModuleRegisterWndClassInfo(WNDCLASSEXW* wc)
{
    if (wc == NULL || wc->lpszClassName == NULL)
        return 0;
    wc->cbSize = sizeof(WNDCLASSEXW);
    wc->hInstance = WindowModule.Instance;
    if (wc->hCursor == NULL)
        wc->hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    WNDCLASSEXW existing;
    existing.cbSize = sizeof(existing);
    ATOM atom = (ATOM)GetClassInfoExW(wc->hInstance, wc->lpszClassName, &existing);
    if (atom != 0)
        return atom;
    return RegisterClassExW(wc);
}

int AtlModuleAddCreateWndData(WindowObject* object)
{
    CreateWndEntry* entry = (CreateWndEntry*)malloc(sizeof(CreateWndEntry));
    if (entry == NULL)
        return 0;
    entry->Object = object;
    entry->ThreadId = GetCurrentThreadId();
    entry->Next = WindowModule.Creating;
    WindowModule.Creating = entry;
    return 1;
}

static WindowObject* Unlink(DWORD threadId, WindowObject* object)
{
    CreateWndEntry** link = &WindowModule.Creating;
    while (*link != NULL) {
        CreateWndEntry* entry = *link;
        if (entry->ThreadId == threadId && (object == NULL || entry->Object == object)) {
            WindowObject* found = entry->Object;
            *link = entry->Next;
            free(entry);
            return found;
        }
        link = &entry->Next;
    }
    return NULL;
}

WindowObject* AtlModuleExtractCreateWndData()
{
    return Unlink(GetCurrentThreadId(), NULL);
}

void AtlModuleRemoveCreateWndData(WindowObject* object)
{
    Unlink(GetCurrentThreadId(), object);
}

void AtlModuleTerm()
{
    while (WindowModule.Creating != NULL) {
        CreateWndEntry* entry = WindowModule.Creating;
        WindowModule.Creating = entry->Next;
        free(entry);
    }
}
