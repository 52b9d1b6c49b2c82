#include "WindowModule.h"

WindowModuleRecord WindowModule = {};

void AtlModuleInit(HINSTANCE instance)
{
    WindowModule.Instance = instance;
    WindowModule.CreatingCount = 0;
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
    if (WindowModule.CreatingCount >= MAX_CREATING_WINDOWS)
        return 0;
    CreateWndEntry& entry = WindowModule.Creating[WindowModule.CreatingCount++];
    entry.Object = object;
    entry.ThreadId = GetCurrentThreadId();
    return 1;
}

static WindowObject* Unlink(DWORD threadId, WindowObject* object)
{
    for (int i = WindowModule.CreatingCount - 1; i >= 0; i--) {
        CreateWndEntry& entry = WindowModule.Creating[i];
        if (entry.ThreadId == threadId && (object == NULL || entry.Object == object)) {
            WindowObject* found = entry.Object;
            for (int j = i + 1; j < WindowModule.CreatingCount; j++)
                WindowModule.Creating[j - 1] = WindowModule.Creating[j];
            WindowModule.CreatingCount--;
            return found;
        }
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
    WindowModule.CreatingCount = 0;
}
