// The one settings record, its INI file beside the program and the typed INI accessors.
#ifndef BRISVANE_SETTINGS_H
#define BRISVANE_SETTINGS_H

#include <windows.h>
#include <oleauto.h>

#include "DataFolder.h"
#include "IniDocument.h"
#include "PathSplit.h"
#include "Units.h"

enum ResetTypes { ResetDaily = 0, ResetMonthly = 1, ResetNever = 2, ResetOnDate = 3 };
enum AlertTypes { AlertDistinct = 0, AlertTotal = 1, AlertNone = 2 };

// The largest whole number of gigabytes that a 64-bit byte count holds.
#define MAX_LIMIT_GB 18446744073ULL

struct SettingsRecord {
    SettingsRecord();  // the defaults

    // Chooses the data folder (DataFolder), derives IniPath and the default log paths in it,
    // then reads the section "Settings". Returns 1.
    int Load();
    // Writes every key of the section "Settings" into the INI file, which is replaced whole.
    // 1 when saved; 0 when it could not be, with the reason in LastSaveError.
    int Save();
    // Puts every key of the section "Settings" into a document of the INI file; 0 when a key
    // could not be set (the document then counts as failed).
    int StoreSection(IniDocument& document);

    // Reads the section "Settings" of IniPath, with the current paths as the log defaults.
    int ReadSection();

    // Typed access to any section of IniPath; each returns 1.
    int ReadIniU64(const char* section, const char* key, unsigned __int64* value);
    int ReadIniU32(const char* section, const char* key, DWORD* value);
    int ReadIniDate(const char* section, const char* key, VARIANT* value);  // always a VT_DATE
    // A whole number with a sign; fallback when the key is missing or empty.
    int ReadIniInt(const char* section, const char* key, int fallback);
    // One key of any section as text; fallback when the file or the key is missing.
    void ReadIniText(const char* section, const char* key, const char* fallback, char* text,
                     size_t size);
    // The writes go into a document of the INI file, which is then written whole. A date is
    // written as "yyyy-mm-dd hh:mm:ss", which every locale reads back the same.
    int WriteIniU64(IniDocument& document, const char* section, const char* key,
                    unsigned __int64 value);
    int WriteIniU32(IniDocument& document, const char* section, const char* key, DWORD value);
    int WriteIniDate(IniDocument& document, const char* section, const char* key,
                     const VARIANT* value);

    // Reads the INI file, lets fill put what it saves into it, and replaces the file whole.
    // Nothing is written when a key could not be set in it (IniDocument::Failed). 1 when saved; 0 when not, with the reason in LastSaveError (the file then is as it was).
    int SaveIni(void (*fill)(IniDocument& document, void* context), void* context);

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
    DWORD LastSaveError;  // why the last save failed, NO_ERROR after one that did not
};

extern SettingsRecord Settings;
// Date texts of the INI file: "yyyy-mm-dd hh:mm:ss" first, then the user's own format, in which
// older versions wrote them. 1 with the date.
int ReadDateText(const char* text, DATE* date);

#endif
