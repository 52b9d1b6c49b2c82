// Closes the benchmark's program as the user would, so that it ends normally and writes its
// step table: WM_CLOSE to the window of the class named on the command line until it is gone
// (a main window on show hides at the first). 0 once it is gone, 1 when it stays.
#include <windows.h>

int wmain(int count, wchar_t** arguments)
{
    if (count < 2)
        return 2;
    enum { Tries = 50, WaitMs = 100 };
    for (int i = 0; i < Tries; i++) {
        HWND window = FindWindowW(arguments[1], NULL);
        if (window == NULL)
            return 0;
        PostMessageW(window, WM_CLOSE, 0, 0);
        Sleep(WaitMs);
    }
    return 1;
}
