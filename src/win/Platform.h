// The few platform calls that tests replace: the local clock, the two IP Helper tables, the
// tray and the program's own path. The shipped program leaves them pointing at the platform.
#ifndef BRISVANE_PLATFORM_H
#define BRISVANE_PLATFORM_H

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <shellapi.h>

typedef void(WINAPI* LocalTimeFunction)(LPSYSTEMTIME);
typedef DWORD(WINAPI* IfTableFunction)(PMIB_IFTABLE, PULONG, BOOL);
typedef DWORD(WINAPI* IpAddrTableFunction)(PMIB_IPADDRTABLE, PULONG, BOOL);
typedef BOOL(WINAPI* NotifyIconFunction)(DWORD, PNOTIFYICONDATAA);
typedef DWORD(WINAPI* ModuleFileNameFunction)(HMODULE, LPSTR, DWORD);

struct PlatformCalls {
    LocalTimeFunction ReadLocalTime;        // GetLocalTime
    IfTableFunction ReadIfTable;            // GetIfTable
    IpAddrTableFunction ReadIpAddrTable;    // GetIpAddrTable
    NotifyIconFunction NotifyIcon;          // Shell_NotifyIconA
    ModuleFileNameFunction ReadModuleFileName;  // GetModuleFileNameA: where the INI file lies
};

extern PlatformCalls Platform;

#endif
