#include "Startup.h"

#include <commctrl.h>
#include <string.h>

#include "MainWindow.h"
#include "DataFolder.h"
#include "Dpi.h"
#include "LanguageResources.h"
#include "LanguageSetting.h"
#include "OwnedHandle.h"
#include "Platform.h"
#include "Utf8Text.h"
#include "resource.h"

int StartsHidden(const char* commandTail)
{
    return commandTail != NULL && strstr(commandTail, "/s") != NULL;
}

HWND CreateMainWindow(HINSTANCE instance, MainWindow& mainWindow)
{
    // The size of the adapter page in dialog units, plus room for the tool bar and the tabs.
    enum { PageWidthUnits = 317, PageHeightUnits = 157, BarsHeight = 30 };
    enum { HorizontalUnitsPerBase = 4, VerticalUnitsPerBase = 8 };
    LONG baseUnits = GetDialogBaseUnits();
    int width = MulDiv(PageWidthUnits, LOWORD(baseUnits), HorizontalUnitsPerBase);
    int height = MulDiv(PageHeightUnits, HIWORD(baseUnits), VerticalUnitsPerBase) + BarsHeight;

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = StartWindowProc;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM));
    // The caption's own image rather than the large one shrunk; shared, as the class keeps it.
    wc.hIconSm = (HICON)LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                   LR_SHARED);
    // Behind the tool bar: the face of the tabs and pages below it.
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = MainWindowClass;
    ATOM atom = AtlModuleRegisterWndClassInfo(&wc);
    if (atom == 0)
        return NULL;
    // As big as its page, which is laid out in dialog units and would only gain empty space:
    // no sizing frame and no maximise box. The window then moves to its saved place.
    return mainWindow.CreateBound(WS_EX_APPWINDOW | WS_EX_CLIENTEDGE, MAKEINTRESOURCEW(atom), L"Brisvane",
                                  MainWindowStyle, 0, 0, width, height, NULL, NULL);
}

// The language of every text of this run, from the INI file where the program keeps it (which
// the main window chooses again, and may make, as it starts).
static void ChooseLanguage()
{
    char modulePath[WIDE_PATH_CHARS * 3];
    if (Platform.ReadModuleFileName(modulePath, sizeof(modulePath)))
        LocateDataFolder(modulePath);
    LanguageResources.Language = ProgramLanguage(IniPath);
}

// Shows the window of the instance that runs already; when both were started together, its
// window may still be on its way.
static void ShowRunningInstance()
{
    enum { WaitStepMs = 50, WaitSteps = 100 };
    for (int step = 0; step < WaitSteps; step++) {
        HWND running = FindWindowW(MainWindowClass, NULL);
        if (running != NULL) {
            ShowWindow(running, SW_SHOWNORMAL);
            SetForegroundWindow(running);
            return;
        }
        Sleep(WaitStepMs);
    }
}

int RunBrisvane(HINSTANCE instance, const char* commandTail, int showCommand)
{
    // One instance per user session, decided before any window exists: two instances would
    // count the same traffic and overwrite each other's totals.
    OwnedHandle instanceMutex(CreateMutexA(NULL, TRUE, SINGLE_INSTANCE_MUTEX));
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        instanceMutex.Reset();
        ShowRunningInstance();
        return EXIT_ALREADY_RUNNING;
    }

    // Per-monitor where the manifest was not read (it declares the same); else nothing changes.
    BecomeDpiAware(SystemDpiFunctions());

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                           ICC_UPDOWN_CLASS | ICC_DATE_CLASSES |
                                                           ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    AtlModuleInit(instance);
    ChooseLanguage();

    MainWindow mainWindow;
    if (StartsHidden(commandTail))
        showCommand = SW_HIDE;

    CreateMainWindow(instance, mainWindow);
    if (mainWindow.Window == NULL)
        return 0;

    ShowWindow(mainWindow.Window, showCommand);
    UpdateWindow(mainWindow.Window);

    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        // Ctrl+Tab and the like before the page, which would take Tab for its own fields.
        if (mainWindow.TranslateKeys(&message))
            continue;
        if (mainWindow.TakeDialogKeys(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    AtlModuleTerm();
    return 0;
}
