// The one settings record and its section of the INI file.
#ifndef BRISVANE_SETTINGS_H
#define BRISVANE_SETTINGS_H

#include <windows.h>
#include <oleauto.h>

#include "DataFolder.h"
#include "IniDocument.h"
#include "IniValues.h"
#include "PathSplit.h"
#include "Units.h"

enum ResetTypes { ResetDaily = 0, ResetMonthly = 1, ResetNever = 2, ResetOnDate = 3 };
enum AlertTypes { AlertDistinct = 0, AlertTotal = 1, AlertNone = 2 };

// The largest whole number of gigabytes that a 64-bit byte count holds.
#define MAX_LIMIT_GB 18446744073ULL

// The settings: plain data, its defaults those of a first start.
struct SettingsRecord {
    SYSTEMTIME ResetDate = {};
    int ResetType = ResetNever;
    int AlertType = AlertNone;
    unsigned __int64 LimitIN = 0;
    unsigned __int64 LimitOUT = 0;
    BYTE AlertPercent = 100;
    char EventLogPath[PATH_CHARS] = "";
    int EnableLog = 0;
    char TrafficLogPath[PATH_CHARS] = "";
    int EnableTrafficLog = 0;
    int IgnoreLoopBack = 1;
};

// Chooses the data folder (DataFolder), derives IniPath and the default log paths in it, reads
// the INI file into document once and the section "Settings" from it. The caller hands the same
// document to every other loader of the start, then lets it go.
void LoadSettings(SettingsRecord& settings, IniDocument& document);
// Reads the section "Settings" from a document of the INI file, with the settings' current log
// paths as their defaults. A key that is missing leaves its setting as it is.
void ReadSettingsSection(SettingsRecord& settings, IniDocument& document);
// The same straight from IniPath (which is read once); a file that cannot be read changes
// nothing.
void ReadSettingsFile(SettingsRecord& settings);
// Puts every key of the section "Settings" into a document of the INI file; false when a key
// could not be set (the document then counts as failed).
bool StoreSettingsSection(const SettingsRecord& settings, IniDocument& document);

// One save of the INI file: reads it, lets fill put what it saves into the document, and
// replaces the file whole. Nothing is written when a key could not be set in it. True when
// saved (or when there is no INI path); false with the reason in *error, the file as it was.
template <class Fill>
bool SaveIniFile(Fill fill, DWORD* error);
// Saves the section "Settings" alone, the same way.
bool SaveSettings(const SettingsRecord& settings, DWORD* error);

extern SettingsRecord Settings;

// The two halves of SaveIniFile around its fill.
bool OpenIniForSave(IniDocument& document, DWORD* error);
bool FinishIniSave(IniDocument& document, DWORD* error);

template <class Fill>
bool SaveIniFile(Fill fill, DWORD* error)
{
    *error = NO_ERROR;
    if (IniPath[0] == 0)
        return true;
    IniDocument document;
    if (!OpenIniForSave(document, error))
        return false;
    fill(document);
    return FinishIniSave(document, error);
}

#endif
