// The few platform calls that tests replace: the clocks, the IP Helper tables, the tray, the
// program's own path and the user's display languages. The shipped program leaves them
// pointing at the platform.
#ifndef BRISVANE_PLATFORM_H
#define BRISVANE_PLATFORM_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>
#include <shellapi.h>

typedef void(WINAPI* LocalTimeFunction)(LPSYSTEMTIME);
typedef DWORD(WINAPI* IfTableFunction)(PMIB_IFTABLE, PULONG, BOOL);
typedef DWORD(WINAPI* IpAddrTableFunction)(PMIB_IPADDRTABLE, PULONG, BOOL);
typedef BOOL(WINAPI* NotifyIconFunction)(DWORD, PNOTIFYICONDATAW);
typedef ULONGLONG(WINAPI* TickCountFunction)(void);
typedef DWORD(WINAPI* IfTable2Function)(PMIB_IF_TABLE2*);
typedef void(WINAPI* FreeTableFunction)(PVOID);
typedef LANGID(WINAPI* UiLanguageFunction)(void);
typedef BOOL(WINAPI* PreferredLanguagesFunction)(DWORD, PULONG, PZZWSTR, PULONG);
// A path in UTF-8 within size bytes: 1 when it was there and fits whole, else 0.
typedef int (*PathFunction)(char* path, size_t size);

struct PlatformCalls {
    LocalTimeFunction ReadLocalTime;        // GetLocalTime
    IfTableFunction ReadIfTable;            // GetIfTable
    IpAddrTableFunction ReadIpAddrTable;    // GetIpAddrTable
    NotifyIconFunction NotifyIcon;          // Shell_NotifyIconW
    PathFunction ReadModuleFileName;        // GetModuleFileNameW: where the INI file lies
    TickCountFunction ReadTickCount;        // GetTickCount64: milliseconds, never set back
    // GetIfTable2 and FreeMibTable, looked up at start: null on a system without them, which
    // then reads the 32-bit table.
    IfTable2Function ReadIfTable2;
    FreeTableFunction FreeIfTable2;
    // The user's application data folder (roaming), where data goes that cannot stay beside
    // the program (SHGetFolderPathW). 0 when there is none.
    PathFunction ReadAppDataFolder;
    LCID UserLocale;  // the date format that texts of older versions were written in
    // The user's display language (GetUserDefaultUILanguage), and the user's preferred display
    // languages by name (GetUserPreferredUILanguages, looked up at start: null on Windows 7's
    // predecessors and wherever it is missing).
    UiLanguageFunction ReadUserUILanguage;
    PreferredLanguagesFunction ReadPreferredUILanguages;
};

extern PlatformCalls Platform;

#endif
