// The one settings record, its INI file beside the program and the typed INI accessors.
#ifndef BRISVANE_SETTINGS_H
#define BRISVANE_SETTINGS_H

#include <windows.h>
#include <oleauto.h>

enum ResetTypes { ResetDaily = 0, ResetMonthly = 1, ResetNever = 2, ResetOnDate = 3 };
enum AlertTypes { AlertDistinct = 0, AlertTotal = 1, AlertNone = 2 };

#define PATH_CHARS 260
#define GIGABYTE 1000000000ULL

struct SettingsRecord {
    SettingsRecord();  // the defaults

    // Derives IniPath and the default log paths, then reads the section "Settings". Returns 1.
    int Load();
    // Writes every key of the section "Settings". Returns 1.
    int Save();

    // Reads the section "Settings" of IniPath, with the current paths as the log defaults.
    int ReadSection();

    // Typed access to any section of IniPath; each returns 1.
    int ReadIniU64(const char* section, const char* key, unsigned __int64* value);
    int ReadIniU32(const char* section, const char* key, DWORD* value);
    int ReadIniDate(const char* section, const char* key, VARIANT* value);  // always a VT_DATE
    int WriteIniU64(const char* section, const char* key, unsigned __int64 value);
    int WriteIniU32(const char* section, const char* key, DWORD value);
    int WriteIniDate(const char* section, const char* key, const VARIANT* value);

    // The same writes into another file: the copy that replaces IniPath in one rename.
    int WriteIniU64In(const char* file, const char* section, const char* key,
                      unsigned __int64 value);
    int WriteIniU32In(const char* file, const char* section, const char* key, DWORD value);
    int WriteIniDateIn(const char* file, const char* section, const char* key,
                       const VARIANT* value);
    // Writes a complete copy of IniPath beside it (an empty one when there is no file yet) and
    // names it in copyPath. 0 when no copy could be made; the caller then writes IniPath itself.
    int BeginIniCopy(char* copyPath, size_t size);
    // Puts the copy in the place of IniPath in one rename. 0 (copy removed) when that fails.
    int CommitIniCopy(const char* copyPath);

    SYSTEMTIME ResetDate;
    int ResetType;
    int AlertType;
    unsigned __int64 LimitIN;
    unsigned __int64 LimitOUT;
    BYTE AlertPercent;
    char EventLogPath[PATH_CHARS];
    int EnableLog;
    char TrafficLogPath[PATH_CHARS];
    int EnableTrafficLog;
    int IgnoreLoopBack;
};

extern SettingsRecord Settings;
extern char IniPath[PATH_CHARS];

// The INI path and the two default log paths that belong to a program file: its extension
// replaced by ".INI", ".LOG" and ".CSV", or these appended when the file name has none. Each
// buffer holds PATH_CHARS characters.
void DeriveIniPaths(const char* modulePath, char* iniPath, char* eventLogPath,
                    char* trafficLogPath);

#endif
