#include "Platform.h"

#include <shlobj.h>
#include <string.h>

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

static BOOL WINAPI CallShellNotifyIcon(DWORD action, PNOTIFYICONDATAA record)
{
    return Shell_NotifyIconA(action, record);
}

static DWORD WINAPI CallGetModuleFileName(HMODULE module, LPSTR path, DWORD size)
{
    return GetModuleFileNameA(module, path, size);
}

static ULONGLONG WINAPI CallGetTickCount64()
{
    return GetTickCount64();
}

static int CallGetAppDataFolder(char* path, size_t size)
{
    char folder[MAX_PATH];
    if (FAILED(SHGetFolderPathA(NULL, CSIDL_APPDATA | CSIDL_FLAG_CREATE, NULL, 0, folder)))
        return 0;
    size_t length = strlen(folder);
    if (length + 1 > size)
        return 0;
    memcpy(path, folder, length + 1);
    return 1;
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
                          LOCALE_USER_DEFAULT};
