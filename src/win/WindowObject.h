// The windowing layer: every window, dialog and subclassed control of the program is an object
// whose message map receives all messages of its window from the very first one on.
#ifndef BRISVANE_WINDOWOBJECT_H
#define BRISVANE_WINDOWOBJECT_H

#include <windows.h>

#include "WindowModule.h"

// Reflected notifications arrive at the child as the message number plus this base.
#define REFLECTION_BASE 0x2000

class WindowObject {
public:
    WindowObject();
    virtual ~WindowObject();

    // The message map. Returns whether the message was handled; result receives its answer.
    virtual BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) = 0;
    // The shared procedure that the object's window forwards to.
    virtual WNDPROC GetProcedure();
    // Called once after WM_NCDESTROY, when the object has let go of its window.
    virtual void OnLastMessage(HWND window);

    // Creates a window bound to this object; null on failure.
    // The window is a UTF-16 one: its messages carry UTF-16 texts.
    HWND CreateBound(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menuOrId);
    // Takes over an existing control; its previous procedure gets our unhandled messages.
    BOOL SubclassWindow(HWND control);
    // Hands a message to the unhandled-message procedure.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    static WindowObject* FromHandle(HWND window);
    // Binds the object to its window at the window's first message.
    void Attach(HWND window);
    void Detach(HWND window);

    HWND Window;
    WNDPROC UnhandledProc;

private:
    WindowObject(const WindowObject&);
    WindowObject& operator=(const WindowObject&);
};

class DialogObject : public WindowObject {
public:
    WNDPROC GetProcedure() override;

    // Runs the dialog modally; -1 when it could not be created.
    INT_PTR RunModal(HWND owner, int templateId);
    // Creates a modeless dialog bound to this object; null on failure.
    HWND CreateModeless(HWND parent, int templateId);
};

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sends a child's notification back to the child as message + REFLECTION_BASE. Clears handled
// when the message is not reflectable or no child is found.
LRESULT ReflectNotifications(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                             BOOL& handled);

// Message maps. Handlers:
//   message:      LRESULT H(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
//   command:      LRESULT H(WORD code, WORD id, HWND control, BOOL& handled)
//   notification: LRESULT H(int id, NMHDR* header, BOOL& handled)
// The router sets handled before the call; a handler clears it for default processing.
#define BEGIN_MSG_MAP(theClass)                                                             \
    BOOL RouteMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, \
                      DWORD dwMsgMapID) override                                            \
    {                                                                                       \
        BOOL bHandled = TRUE;                                                               \
        (void)hWnd;                                                                         \
        (void)uMsg;                                                                         \
        (void)wParam;                                                                       \
        (void)lParam;                                                                       \
        (void)lResult;                                                                      \
        (void)bHandled;                                                                     \
        switch (dwMsgMapID) {                                                               \
        case 0:

#define MESSAGE_HANDLER(msg, func)                              \
    if (uMsg == (UINT)(msg)) {                                  \
        bHandled = TRUE;                                        \
        lResult = func(uMsg, wParam, lParam, bHandled);         \
        if (bHandled)                                           \
            return TRUE;                                        \
    }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)                      \
    if (uMsg >= (UINT)(msgFirst) && uMsg <= (UINT)(msgLast)) {              \
        bHandled = TRUE;                                                    \
        lResult = func(uMsg, wParam, lParam, bHandled);                     \
        if (bHandled)                                                       \
            return TRUE;                                                    \
    }

#define COMMAND_ID_HANDLER(id, func)                                                       \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (WORD)(id)) {                              \
        bHandled = TRUE;                                                                   \
        lResult = func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled);            \
        if (bHandled)                                                                      \
            return TRUE;                                                                   \
    }

#define COMMAND_HANDLER(id, code, func)                                                    \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (WORD)(id) && HIWORD(wParam) == (WORD)(code)) { \
        bHandled = TRUE;                                                                   \
        lResult = func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled);            \
        if (bHandled)                                                                      \
            return TRUE;                                                                   \
    }

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                       \
    if (uMsg == WM_COMMAND && LOWORD(wParam) >= (WORD)(idFirst) &&                         \
        LOWORD(wParam) <= (WORD)(idLast)) {                                                \
        bHandled = TRUE;                                                                   \
        lResult = func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled);            \
        if (bHandled)                                                                      \
            return TRUE;                                                                   \
    }

#define NOTIFY_CODE_HANDLER(cd, func)                                                   \
    if (uMsg == WM_NOTIFY && lParam != 0 && ((NMHDR*)lParam)->code == (UINT)(cd)) {    \
        bHandled = TRUE;                                                                \
        lResult = func((int)wParam, (NMHDR*)lParam, bHandled);                          \
        if (bHandled)                                                                   \
            return TRUE;                                                                \
    }

#define NOTIFY_HANDLER(id, cd, func)                                                    \
    if (uMsg == WM_NOTIFY && lParam != 0 && ((NMHDR*)lParam)->idFrom == (UINT_PTR)(id) && \
        ((NMHDR*)lParam)->code == (UINT)(cd)) {                                         \
        bHandled = TRUE;                                                                \
        lResult = func((int)wParam, (NMHDR*)lParam, bHandled);                          \
        if (bHandled)                                                                   \
            return TRUE;                                                                \
    }

#define REFLECT_NOTIFICATIONS()                                                        \
    {                                                                                  \
        bHandled = TRUE;                                                               \
        lResult = ReflectNotifications(hWnd, uMsg, wParam, lParam, bHandled);          \
        if (bHandled)                                                                  \
            return TRUE;                                                               \
    }

#define END_MSG_MAP() \
    break;            \
    default:          \
        break;        \
        }             \
        return FALSE; \
        }

#endif
