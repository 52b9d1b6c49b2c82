#include "WindowObject.h"

#include "LanguageResources.h"

WindowObject::WindowObject() : Window(NULL), UnhandledProc(DefWindowProcW) {}

WindowObject::~WindowObject()
{
    // An object that dies before its window must not leave the window pointing at it.
    if (Window != NULL && IsWindow(Window))
        Detach(Window);
    AtlModuleRemoveCreateWndData(this);
}

WNDPROC WindowObject::GetProcedure()
{
    return SharedWindowProc;
}

void WindowObject::OnLastMessage(HWND) {}

// The window's user data binds it to its object: read at every message, and a window property
// would cost a round trip to the Wine server each time (three a second in the tray), where the
// user data is read in the program's own memory. The controls we subclass leave it to us.
WindowObject* WindowObject::FromHandle(HWND window)
{
    return (WindowObject*)GetWindowLongPtrW(window, GWLP_USERDATA);
}

void WindowObject::Attach(HWND window)
{
    Window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, (LONG_PTR)this);
}

void WindowObject::Detach(HWND window)
{
    if (GetWindowLongPtrW(window, GWLP_USERDATA) == (LONG_PTR)this)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    Window = NULL;
}

HWND WindowObject::CreateBound(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style,
                               int x, int y, int width, int height, HWND parent, HMENU menuOrId)
{
    if (!AtlModuleAddCreateWndData(this))
        return NULL;
    HWND window = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                  menuOrId, WindowModule.Instance, NULL);
    // A creation that failed before the first message leaves our entry behind.
    AtlModuleRemoveCreateWndData(this);
    return window;
}

// Every window of ours is a UTF-16 one, subclassed controls included (set with the W form, the
// procedure makes them so): their unhandled messages go on as UTF-16 messages.
static LRESULT CallUnhandled(WNDPROC unhandled, HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam)
{
    return CallWindowProcW(unhandled, window, message, wParam, lParam);
}

BOOL WindowObject::SubclassWindow(HWND control)
{
    if (control == NULL || Window != NULL)
        return FALSE;
    Attach(control);
    WNDPROC previous =
        (WNDPROC)SetWindowLongPtrW(control, GWLP_WNDPROC, (LONG_PTR)GetProcedure());
    if (previous == NULL) {
        Detach(control);
        return FALSE;
    }
    UnhandledProc = previous;
    return TRUE;
}

LRESULT WindowObject::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallUnhandled(UnhandledProc, Window, message, wParam, lParam);
}

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object = WindowObject::FromHandle(window);
    if (object == NULL)
        return DefWindowProcW(window, message, wParam, lParam);

    LRESULT result = 0;
    BOOL handled = object->RouteMessage(window, message, wParam, lParam, result, 0);
    if (handled && message != WM_NCDESTROY)
        return result;

    WNDPROC unhandled = object->UnhandledProc;
    if (!handled)
        result = CallUnhandled(unhandled, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Give a subclassed control its procedure back, unless someone subclassed it after us.
        if (unhandled != DefWindowProcW &&
            (WNDPROC)GetWindowLongPtrW(window, GWLP_WNDPROC) == SharedWindowProc)
            SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)unhandled);
        object->Detach(window);
        object->OnLastMessage(window);
    }
    return result;
}

static bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    }
}

INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object = WindowObject::FromHandle(window);
    if (object == NULL)
        return FALSE;

    LRESULT result = 0;
    BOOL handled = object->RouteMessage(window, message, wParam, lParam, result, 0);

    if (message == WM_NCDESTROY) {
        object->Detach(window);
        object->OnLastMessage(window);
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return (INT_PTR)result;
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object = AtlModuleExtractCreateWndData();
    if (object == NULL)
        return DefWindowProcW(window, message, wParam, lParam);
    object->Attach(window);
    WNDPROC procedure = object->GetProcedure();
    object->UnhandledProc = DefWindowProcW;
    SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)procedure);
    return procedure(window, message, wParam, lParam);
}

INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object = AtlModuleExtractCreateWndData();
    if (object == NULL)
        return FALSE;
    object->Attach(window);
    WNDPROC procedure = object->GetProcedure();
    SetWindowLongPtrW(window, DWLP_DLGPROC, (LONG_PTR)procedure);
    return (INT_PTR)procedure(window, message, wParam, lParam);
}

WNDPROC DialogObject::GetProcedure()
{
    return (WNDPROC)SharedDialogProc;
}

INT_PTR DialogObject::RunModal(HWND owner, int templateId)
{
    if (!AtlModuleAddCreateWndData(this))
        return -1;
    // The template of the program's language, which may be laid out wider than the English one.
    const DLGTEMPLATE* found = (const DLGTEMPLATE*)FindLanguageResource(
        (LPCWSTR)RT_DIALOG, MAKEINTRESOURCEW(templateId), NULL);
    INT_PTR result = found != NULL ? DialogBoxIndirectParamW(WindowModule.Instance, found, owner,
                                                             StartDialogProc, 0)
                                   : -1;
    AtlModuleRemoveCreateWndData(this);
    return result;
}

HWND DialogObject::CreateModeless(HWND parent, int templateId)
{
    if (!AtlModuleAddCreateWndData(this))
        return NULL;
    const DLGTEMPLATE* found = (const DLGTEMPLATE*)FindLanguageResource(
        (LPCWSTR)RT_DIALOG, MAKEINTRESOURCEW(templateId), NULL);
    HWND window = found != NULL ? CreateDialogIndirectParamW(WindowModule.Instance, found, parent,
                                                             StartDialogProc, 0)
                                : NULL;
    AtlModuleRemoveCreateWndData(this);
    return window;
}

// The child that a notification is about, or null.
static HWND NotifyingChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return (HWND)lParam;
    case WM_NOTIFY:
        return lParam != 0 ? ((NMHDR*)lParam)->hwndFrom : NULL;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY)
            return (HWND)lParam;
        return GetDlgItem(parent, HIWORD(wParam));
    case WM_DRAWITEM:
        return wParam != 0 ? ((DRAWITEMSTRUCT*)lParam)->hwndItem : NULL;
    case WM_MEASUREITEM:
        return wParam != 0 ? GetDlgItem(parent, ((MEASUREITEMSTRUCT*)lParam)->CtlID) : NULL;
    case WM_COMPAREITEM:
        return wParam != 0 ? GetDlgItem(parent, ((COMPAREITEMSTRUCT*)lParam)->CtlID) : NULL;
    case WM_DELETEITEM:
        return wParam != 0 ? GetDlgItem(parent, ((DELETEITEMSTRUCT*)lParam)->CtlID) : NULL;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return (HWND)lParam;
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            return (HWND)lParam;
        return NULL;
    }
}

LRESULT ReflectNotifications(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                             BOOL& handled)
{
    HWND child = NotifyingChild(parent, message, wParam, lParam);
    if (child == NULL) {
        handled = FALSE;
        return 0;
    }
    return SendMessageW(child, REFLECTION_BASE + message, wParam, lParam);
}
