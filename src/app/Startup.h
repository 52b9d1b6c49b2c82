// The program's run from start to end: single instance, main window, message loop.
#ifndef BRISVANE_STARTUP_H
#define BRISVANE_STARTUP_H

#include <windows.h>

#define EXIT_ALREADY_RUNNING (-1)
// Held by the running instance, in the user's session.
#define SINGLE_INSTANCE_MUTEX "Local\\BrisvaneSingleInstance"

// Returns the process exit code: 0 after a run or a failed creation, -1 when another
// instance runs already.
int RunBrisvane(HINSTANCE instance, const char* commandTail, int showCommand);
class MainWindow;
// Registers the main window class (once) and creates the main window at the start-up size,
// hidden. Null when the class or the window could not be made.
HWND CreateMainWindow(HINSTANCE instance, MainWindow& mainWindow);
// Whether the command tail asks to start hidden ("/s" anywhere, case-sensitive).
int StartsHidden(const char* commandTail);

#endif
