// Process entry.
#include <windows.h>

#include "Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int showCommand)
{
    return RunBrisvane(instance, commandTail, showCommand);
}
