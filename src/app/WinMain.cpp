// Process entry: single instance, common controls, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include "MainWindow.h"
#include "resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int showCommand)
{
    HWND running = FindWindowA(MAIN_WINDOW_CLASS, NULL);
    if (running != NULL) {
        ShowWindow(running, SW_SHOWNORMAL);
        SetForegroundWindow(running);
        return -1;
    }

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                           ICC_UPDOWN_CLASS | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    AtlModuleInit(instance);

    MainWindow mainWindow;
    if (strstr(commandTail, "/s") != NULL)
        showCommand = SW_HIDE;

    LONG baseUnits = GetDialogBaseUnits();
    int width = MulDiv(317, LOWORD(baseUnits), 4);
    int height = MulDiv(157, HIWORD(baseUnits), 8) + 30;

    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = StartWindowProc;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hbrBackground = (HBRUSH)(COLOR_INACTIVECAPTION + 1);
    wc.lpszClassName = MAIN_WINDOW_CLASS;
    ATOM atom = AtlModuleRegisterWndClassInfoA(&wc);
    if (atom != 0)
        mainWindow.CreateBound(WS_EX_APPWINDOW | WS_EX_CLIENTEDGE, MAKEINTATOM(atom), "Brisvane",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width, height, NULL,
                               NULL);
    if (mainWindow.Window == NULL)
        return 0;

    ShowWindow(mainWindow.Window, showCommand);
    UpdateWindow(mainWindow.Window);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    AtlModuleTerm();
    return 0;
}
