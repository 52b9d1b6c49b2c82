#include "TrayPlatform.h"

// A thin call of our own, so that the record is filled before any other start-up code runs.
static BOOL WINAPI CallShellNotifyIcon(DWORD action, PNOTIFYICONDATAW record)
{
    return Shell_NotifyIconW(action, record);
}

TrayPlatformCalls TrayPlatform = {CallShellNotifyIcon};
