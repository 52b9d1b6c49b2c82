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

    // Typed access to any section of IniPath; each returns 1.
    int ReadIniU64(const char* section, const char* key, unsigned __int64* value);
    int ReadIniU32(const char* section, const char* key, DWORD* value);
    int ReadIniDate(const char* section, const char* key, VARIANT* value);  // always a VT_DATE
    int WriteIniU64(const char* section, const char* key, unsigned __int64 value);
    int WriteIniU32(const char* section, const char* key, DWORD value);
    int WriteIniDate(const char* section, const char* key, const VARIANT* value);

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

#endif
