// The one settings record, its INI file beside the program and the typed INI accessors.
#ifndef BRISVANE_SETTINGS_H
#define BRISVANE_SETTINGS_H

#include <windows.h>
#include <oleauto.h>

#include "IniDocument.h"
#include "PathSplit.h"

enum ResetTypes { ResetDaily = 0, ResetMonthly = 1, ResetNever = 2, ResetOnDate = 3 };
enum AlertTypes { AlertDistinct = 0, AlertTotal = 1, AlertNone = 2 };

#define GIGABYTE 1000000000ULL
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
extern char IniPath[PATH_CHARS];
// The folder of the INI file and the logs: the program's own when it can be written there,
// else the user's own (see ChooseDataFolder).
extern char DataFolder[PATH_CHARS];

// The data folder of a program: its own folder when files can be created there, the INI path
// fits, and it is no installed copy (marked by "Brisvane.installed" beside it); else
// "Brisvane" in the user's application data folder (created when missing). modulePath may be
// longer than PATH_CHARS. Writes DataFolder, IniPath and the two default log paths; an INI
// beside a program that does not keep its data there becomes the first content of the new one.
void ChooseDataFolder(const char* modulePath, char* eventLogPath, char* trafficLogPath);

// The same choice for another program that only reads the data: DataFolder and IniPath as
// the program at modulePath would have them, and nothing made or copied.
void LocateDataFolder(const char* modulePath);

// Date texts of the INI file: "yyyy-mm-dd hh:mm:ss" first, then the user's own format, in which
// older versions wrote them. 1 with the date.
int ReadDateText(const char* text, DATE* date);

// The INI path and the two default log paths that belong to a program file: its extension
// replaced by ".INI", ".LOG" and ".CSV", or these appended when the file name has none. Each
// buffer holds PATH_CHARS characters.
void DeriveIniPaths(const char* modulePath, char* iniPath, char* eventLogPath,
                    char* trafficLogPath);

#endif
