#include "Platform.h"

#include <shlobj.h>
#include <string.h>

#include "Utf8Text.h"

// Thin calls of our own, so that the record is filled before any other start-up code runs
// (the addresses of imported functions are only known at load time).
static void WINAPI CallGetLocalTime(LPSYSTEMTIME now)
{
    GetLocalTime(now);
}

static DWORD WINAPI CallGetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order)
{
    return GetIfTable(table, size, order);
}

static DWORD WINAPI CallGetIpAddrTable(PMIB_IPADDRTABLE table, PULONG size, BOOL order)
{
    return GetIpAddrTable(table, size, order);
}

static BOOL WINAPI CallShellNotifyIcon(DWORD action, PNOTIFYICONDATAW record)
{
    return Shell_NotifyIconW(action, record);
}

// A system path as UTF-8, whole or not at all.
static int WidePathToUtf8(const wchar_t* wide, char* path, size_t size)
{
    int needed = WideCharToMultiByte(CP_UTF8, 0, wide, -1, NULL, 0, NULL, NULL);
    if (needed <= 0 || (size_t)needed > size)
        return 0;
    WideToUtf8(wide, path, size);
    return 1;
}

static int CallGetModuleFileName(char* path, size_t size)
{
    wchar_t wide[WIDE_PATH_CHARS];
    DWORD length = GetModuleFileNameW(NULL, wide, WIDE_PATH_CHARS);
    if (length == 0 || length >= WIDE_PATH_CHARS)
        return 0;
    wide[length] = 0;
    return WidePathToUtf8(wide, path, size);
}

static ULONGLONG WINAPI CallGetTickCount64()
{
    return GetTickCount64();
}

static int CallGetAppDataFolder(char* path, size_t size)
{
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(NULL, CSIDL_APPDATA | CSIDL_FLAG_CREATE, NULL, 0, folder)))
        return 0;
    folder[MAX_PATH - 1] = 0;
    return WidePathToUtf8(folder, path, size);
}

static LANGID WINAPI CallGetUserDefaultUILanguage()
{
    return GetUserDefaultUILanguage();
}

template <typename Function> static Function LookUp(const char* module, const char* name)
{
    HMODULE library = GetModuleHandleA(module);
    return library != NULL ? (Function)(void*)GetProcAddress(library, name) : NULL;
}

PlatformCalls Platform = {CallGetLocalTime,
                          CallGetIfTable,
                          CallGetIpAddrTable,
                          CallShellNotifyIcon,
                          CallGetModuleFileName,
                          CallGetTickCount64,
                          LookUp<IfTable2Function>("iphlpapi.dll", "GetIfTable2"),
                          LookUp<FreeTableFunction>("iphlpapi.dll", "FreeMibTable"),
                          CallGetAppDataFolder,
                          LOCALE_USER_DEFAULT,
                          CallGetUserDefaultUILanguage,
                          LookUp<PreferredLanguagesFunction>("kernel32.dll",
                                                             "GetUserPreferredUILanguages")};
