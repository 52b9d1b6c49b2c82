// The few platform calls that tests replace and that every program of ours needs: the clocks,
// the program's own path, the data folder, the user's display languages. The shipped program leaves them pointing at the
// platform. The adapter tables (AdapterTables.h) and the tray (TrayPlatform.h) are apart, so
// that a program which needs neither links neither IP Helper nor the window calls.
#ifndef BRISVANE_PLATFORM_H
#define BRISVANE_PLATFORM_H

#include <windows.h>
#include <stddef.h>

typedef void(WINAPI* LocalTimeFunction)(LPSYSTEMTIME);
typedef ULONGLONG(WINAPI* TickCountFunction)(void);
typedef LANGID(WINAPI* UiLanguageFunction)(void);
typedef BOOL(WINAPI* PreferredLanguagesFunction)(DWORD, PULONG, PZZWSTR, PULONG);
// A path in UTF-8 within size bytes: 1 when it was there and fits whole, else 0.
typedef int (*PathFunction)(char* path, size_t size);

struct PlatformCalls {
    LocalTimeFunction ReadLocalTime;        // GetLocalTime
    PathFunction ReadModuleFileName;        // GetModuleFileNameW: where the INI file lies
    TickCountFunction ReadTickCount;        // GetTickCount64: milliseconds, never set back
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
