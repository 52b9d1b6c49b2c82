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

// Looked up at start: GetUserPreferredUILanguages is newer than Windows 7's first release.
static PreferredLanguagesFunction LookUpPreferredLanguages()
{
    HMODULE library = GetModuleHandleA("kernel32.dll");
    return library != NULL
               ? (PreferredLanguagesFunction)(void*)GetProcAddress(library,
                                                                  "GetUserPreferredUILanguages")
               : NULL;
}

PlatformCalls Platform = {CallGetLocalTime,      CallGetModuleFileName,
                          CallGetTickCount64,    CallGetAppDataFolder,
                          LOCALE_USER_DEFAULT,   CallGetUserDefaultUILanguage,
                          LookUpPreferredLanguages()};
