// The tray call that tests replace. The shipped program leaves it pointing at the platform.
#ifndef BRISVANE_TRAYPLATFORM_H
#define BRISVANE_TRAYPLATFORM_H

#include <windows.h>
#include <shellapi.h>

typedef BOOL(WINAPI* NotifyIconFunction)(DWORD, PNOTIFYICONDATAW);

struct TrayPlatformCalls {
    NotifyIconFunction NotifyIcon;  // Shell_NotifyIconW
};

extern TrayPlatformCalls TrayPlatform;

#endif
