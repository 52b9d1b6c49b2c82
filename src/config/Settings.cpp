#include "Settings.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"
#include "DateValue.h"
#include "DecimalText.h"
#include "Platform.h"
#include "Utf8Text.h"

SettingsRecord Settings;

static const char SettingsSection[] = "Settings";

#define NUMBER_CHARS 64
// The longest program path that is looked at, in UTF-8; a longer one keeps its data per user.
#define LONG_PATH_CHARS (WIDE_PATH_CHARS * 3)

static int IsBareNumber(const char* text)
{
    while (*text == ' ' || *text == '\t')
        text++;
    if (*text == '+' || *text == '-')
        text++;
    unsigned __int64 value;
    size_t digits;
    if (ReadDecimal(text, NO_LENGTH_LIMIT, NO_DECIMAL_LIMIT, &value, &digits) == DecimalNone)
        return 0;
    text += digits;
    while (*text == ' ' || *text == '\t')
        text++;
    return *text == 0;
}

void LoadSettings(SettingsRecord& settings, IniDocument& document)
{
    char module[LONG_PATH_CHARS];
    if (!Platform.ReadModuleFileName(module, sizeof(module)))
        module[0] = 0;
    if (module[0] != 0) {
        ChooseDataFolder(module, settings.EventLogPath, settings.TrafficLogPath);
        // A save that a killed process left half done.
        char temporary[PATH_CHARS];
        if (IniPath[0] != 0 && TemporaryPathOf(IniPath, temporary, sizeof(temporary)))
            DeleteFileW(WideText(temporary));
    }
    // A file that cannot be read leaves every setting as it is, as a missing key does.
    if (IniPath[0] != 0)
        document.Read(IniPath);
    ReadSettingsSection(settings, document);
}

// A numeric key of the section "Settings": 1 with its value when it holds a number that is
// not negative, 0 when it is missing or holds none.
static int ReadSettingsNumber(IniDocument& document, const char* key, unsigned __int64 limit,
                              unsigned __int64* value)
{
    char text[NUMBER_CHARS];
    ReadIniText(document, SettingsSection, key, "", text, sizeof(text));
    return ReadStoredNumber(text, limit, value);
}

static int ReadSettingsInt(IniDocument& document, const char* key, int fallback)
{
    char text[NUMBER_CHARS];
    if (!document.Get(SettingsSection, key, text, sizeof(text)))
        return fallback;
    return ParseStoredInt(text, fallback);
}

// The percentage fits one byte: larger numbers stand for the largest, not their low 8 bits.
static BYTE ReadSettingsPercent(IniDocument& document)
{
    unsigned __int64 percent;
    if (ReadSettingsNumber(document, "AlertPercent", 255, &percent))
        return (BYTE)percent;
    int value = ReadSettingsInt(document, "AlertPercent", 100);
    return (BYTE)(value < 0 ? 0 : value > 255 ? 255 : value);
}

static unsigned __int64 ReadSettingsLimit(IniDocument& document, const char* key)
{
    unsigned __int64 gigabytes;
    if (!ReadSettingsNumber(document, key, MAX_LIMIT_GB, &gigabytes))
        return 0;
    return gigabytes * GIGABYTE;
}

static void ReadSettingsPath(IniDocument& document, const char* key, char* path)
{
    char fallback[PATH_CHARS];
    CopyText(fallback, sizeof(fallback), path);
    ReadIniText(document, SettingsSection, key, fallback, path, PATH_CHARS);
}

void ReadSettingsFile(SettingsRecord& settings)
{
    if (IniPath[0] == 0)
        return;
    IniDocument document;
    document.Read(IniPath);
    ReadSettingsSection(settings, document);
}

void ReadSettingsSection(SettingsRecord& settings, IniDocument& document)
{
    char text[NUMBER_CHARS];
    ReadIniText(document, SettingsSection, "ResetDate", "", text, sizeof(text));
    if (text[0] != 0) {
        DATE date;
        SYSTEMTIME point;
        if (!IsBareNumber(text) && ReadDateText(text, &date) &&
            DateToTime(date, &point)) {
            settings.ResetDate = point;
        } else {
            // The day of the monthly reset, from the text's leading number; a day past the end
            // of a month stands for its last day.
            settings.ResetDate.wDay = (WORD)atoi(text);
        }
    }
    settings.ResetType = ReadSettingsInt(document, "ResetType", ResetNever);
    settings.AlertType = ReadSettingsInt(document, "AlertType", AlertNone);
    settings.LimitIN = ReadSettingsLimit(document, "LimitIN");
    settings.LimitOUT = ReadSettingsLimit(document, "LimitOUT");
    settings.AlertPercent = ReadSettingsPercent(document);
    settings.EnableLog = ReadSettingsInt(document, "EnableLog", 0);
    ReadSettingsPath(document, "LogPathName", settings.EventLogPath);
    settings.EnableTrafficLog = ReadSettingsInt(document, "EnableTrafficLog", 0);
    ReadSettingsPath(document, "TrafficLogPathName", settings.TrafficLogPath);
    settings.IgnoreLoopBack = ReadSettingsInt(document, "IgnoreLoopBack", settings.IgnoreLoopBack);
}

static int WriteSettingsNumber(IniDocument& document, const char* key, const char* format,
                               ...)
{
    char text[NUMBER_CHARS];
    va_list arguments;
    va_start(arguments, format);
    _vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    text[sizeof(text) - 1] = 0;
    return document.Set(SettingsSection, key, text);
}

bool StoreSettingsSection(const SettingsRecord& settings, IniDocument& document)
{
    char text[NUMBER_CHARS];
    int dateWritten = 0;
    int ok = 1;
    if (settings.ResetDate.wYear != 0) {
        DATE point;
        if (TimeToDate(&settings.ResetDate, &point) &&
            DateToIsoText(point, text, sizeof(text))) {
            ok &= document.Set(SettingsSection, "ResetDate", text);
            dateWritten = 1;
        }
    }
    // No full date (or one the platform cannot write): the day of the monthly reset.
    if (!dateWritten)
        ok &= WriteSettingsNumber(document, "ResetDate", "%u", (unsigned)settings.ResetDate.wDay);
    ok &= WriteSettingsNumber(document, "ResetType", "%d", settings.ResetType);
    ok &= WriteSettingsNumber(document, "AlertType", "%d", settings.AlertType);
    ok &= WriteSettingsNumber(document, "LimitIN", "%I64u", settings.LimitIN / GIGABYTE);
    ok &= WriteSettingsNumber(document, "LimitOUT", "%I64u", settings.LimitOUT / GIGABYTE);
    ok &= WriteSettingsNumber(document, "AlertPercent", "%u", (unsigned)settings.AlertPercent);
    ok &= WriteSettingsNumber(document, "EnableLog", "%d", settings.EnableLog);
    ok &= document.Set(SettingsSection, "LogPathName", settings.EventLogPath);
    ok &= WriteSettingsNumber(document, "EnableTrafficLog", "%d", settings.EnableTrafficLog);
    ok &= document.Set(SettingsSection, "TrafficLogPathName", settings.TrafficLogPath);
    ok &= WriteSettingsNumber(document, "IgnoreLoopBack", "%d", settings.IgnoreLoopBack);
    return ok != 0;
}

bool SaveSettings(const SettingsRecord& settings, DWORD* error)
{
    return SaveIniFile([&](IniDocument& document) { StoreSettingsSection(settings, document); },
                       error);
}

bool OpenIniForSave(IniDocument& document, DWORD* error)
{
    if (document.Read(IniPath))
        return true;
    *error = GetLastError();
    return false;
}

bool FinishIniSave(IniDocument& document, DWORD* error)
{
    // A key that could not be set (no memory) would leave an old value among the new ones:
    // nothing is written, and the next save tries again.
    if (document.Failed()) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    // The file is written whole or not at all; a failed save leaves it as it was, and the
    // figures stay in memory for the next try.
    if (!document.WriteReplacing(IniPath, error))
        return false;
    *error = NO_ERROR;
    return true;
}
