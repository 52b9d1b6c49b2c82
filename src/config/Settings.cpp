#include "Settings.h"

#include <mbstring.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"
#include "DecimalText.h"
#include "Platform.h"

SettingsRecord Settings;
char IniPath[PATH_CHARS];
char DataFolder[PATH_CHARS];

static const char SettingsSection[] = "Settings";

#define NUMBER_CHARS 64
#define DATE_FORMAT "%04u-%02u-%02u %02u:%02u:%02u"
#define PER_USER_FOLDER "Brisvane"
#define INSTALLED_MARK "Brisvane.installed"
#define WRITE_PROBE "~Brisvane.probe"
// The longest program path that is looked at; a longer one keeps its data per user.
#define LONG_PATH_CHARS 1024

SettingsRecord::SettingsRecord()
    : ResetDate(), ResetType(ResetNever), AlertType(AlertNone), LimitIN(0), LimitOUT(0),
      AlertPercent(100), EnableLog(0), EnableTrafficLog(0), IgnoreLoopBack(1),
      LastSaveError(NO_ERROR)
{
    EventLogPath[0] = 0;
    TrafficLogPath[0] = 0;
}

// An unsigned decimal number at the start of a text (after blanks and an optional "+"), held
// at most at limit. 1 when it was found; 0 for no digits or a negative number.
static int ParseUnsigned(const char* text, unsigned __int64 limit, unsigned __int64* value)
{
    *value = 0;
    while (*text == ' ' || *text == '\t')
        text++;
    if (*text == '-')
        return 0;
    if (*text == '+')
        text++;
    size_t digits;
    return ReadDecimal(text, NO_LENGTH_LIMIT, limit, value, &digits) != DecimalNone;
}

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

// Texts of older versions, in the user's own date format.
static int TextToDate(const char* text, DATE* date)
{
    WCHAR wide[NUMBER_CHARS];
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, NUMBER_CHARS) == 0)
        return 0;
    VARIANT in, out;
    VariantInit(&in);
    VariantInit(&out);
    in.vt = VT_BSTR;
    in.bstrVal = SysAllocString(wide);
    if (in.bstrVal == NULL)
        return 0;
    HRESULT result = VariantChangeTypeEx(&out, &in, Platform.UserLocale, 0, VT_DATE);
    VariantClear(&in);
    if (FAILED(result) || out.vt != VT_DATE) {
        VariantClear(&out);
        return 0;
    }
    *date = out.date;
    return 1;
}

// "yyyy-mm-dd hh:mm:ss" and nothing else after blanks.
static int IsoTextToDate(const char* text, DATE* date)
{
    unsigned year, month, day, hour, minute, second;
    char rest[2];
    if (sscanf(text, " " DATE_FORMAT "%1s", &year, &month, &day, &hour, &minute, &second,
               rest) != 6)
        return 0;
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 ||
        hour > 23 || minute > 59 || second > 59)
        return 0;
    SYSTEMTIME time = {};
    time.wYear = (WORD)year;
    time.wMonth = (WORD)month;
    time.wDay = (WORD)day;
    time.wHour = (WORD)hour;
    time.wMinute = (WORD)minute;
    time.wSecond = (WORD)second;
    SYSTEMTIME back;
    // Refuses 31 April and the like, which the conversion would carry into the next month.
    return SystemTimeToVariantTime(&time, date) && VariantTimeToSystemTime(*date, &back) &&
           back.wDay == time.wDay;
}

int ReadDateText(const char* text, DATE* date)
{
    return IsoTextToDate(text, date) || TextToDate(text, date);
}

static int DateToIsoText(DATE date, char* text, size_t size)
{
    SYSTEMTIME time;
    if (!VariantTimeToSystemTime(date, &time))
        return 0;
    return BoundedPrint(text, size, DATE_FORMAT, time.wYear, time.wMonth, time.wDay, time.wHour,
                        time.wMinute, time.wSecond) > 0;
}

static void CurrentDate(DATE* date)
{
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    now.wMilliseconds = 0;
    if (!SystemTimeToVariantTime(&now, date))
        *date = 0;
}

// Replaces the extension of a copy of modulePath by extension, or appends it when the file
// name has none. The result never names the program file itself.
static void ReplaceExtension(const char* modulePath, const char* extension, char* target)
{
    size_t extensionLength = strlen(extension);
    size_t baseLength = strlen(modulePath);
    const unsigned char* path = (const unsigned char*)modulePath;
    const unsigned char* dot = _mbsrchr(path, '.');
    if (dot != NULL && (size_t)(dot - path) >= FolderPartLength(modulePath)) {
        size_t dotAt = (size_t)(dot - path);
        // "Tool.ini" must not become "Tool.INI", the program itself.
        if (lstrcmpiA(modulePath + dotAt, extension) != 0)
            baseLength = dotAt;
    }
    // Keep the extension whole when the path is long: cut the base at a character boundary.
    if (baseLength + extensionLength > PATH_CHARS - 1) {
        size_t room = PATH_CHARS - 1 - extensionLength;
        size_t at = 0;
        while (at < room) {
            size_t next = (size_t)((const unsigned char*)_mbsinc(path + at) - path);
            if (next > room)
                break;
            at = next;
        }
        baseLength = at;
    }
    memcpy(target, modulePath, baseLength);
    memcpy(target + baseLength, extension, extensionLength + 1);
}

void DeriveIniPaths(const char* modulePath, char* iniPath, char* eventLogPath,
                    char* trafficLogPath)
{
    ReplaceExtension(modulePath, ".INI", iniPath);
    ReplaceExtension(modulePath, ".LOG", eventLogPath);
    ReplaceExtension(modulePath, ".CSV", trafficLogPath);
}

static int FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Whether a file can be made in the folder: the only sure test of the rights it grants.
static int FolderCanBeWritten(const char* folder)
{
    char probe[PATH_CHARS];
    if (BoundedPrint(probe, sizeof(probe), "%s\\%s", folder, WRITE_PROBE) !=
        (int)(strlen(folder) + 1 + strlen(WRITE_PROBE)))
        return 0;
    HANDLE file = CreateFileA(probe, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    DeleteFileA(probe);
    return 1;
}

// Copies a file in whole into the place of target (a new file, then one replace).
static void CopyAsFirstContent(const char* source, const char* target)
{
    IniDocument document;
    DWORD error;
    if (document.Read(source) && document.Length() != 0)
        document.WriteReplacing(target, &error);
}

// prepare: the per-user folder is made, and a first INI copied into it, as the program needs
// them; without, the same choice is only looked up.
static void PlaceDataFolder(const char* modulePath, char* eventLogPath, char* trafficLogPath,
                            int prepare)
{
    size_t length = strlen(modulePath);
    const char* slash = strrchr(modulePath, '\\');
    const char* name = slash != NULL ? slash + 1 : modulePath;
    size_t folderLength = (size_t)(name - modulePath) - (slash != NULL ? 1 : 0);

    char beside[PATH_CHARS] = "";
    // Room for the INI name and for the temporary file its saves write first.
    int fits = length + sizeof(".INI") < PATH_CHARS;
    if (fits) {
        char folder[PATH_CHARS], mark[PATH_CHARS];
        CopyText(folder, folderLength + 1 < sizeof(folder) ? folderLength + 1 : sizeof(folder),
                 modulePath);
        char eventLog[PATH_CHARS], trafficLog[PATH_CHARS];
        DeriveIniPaths(modulePath, beside, eventLog, trafficLog);
        BoundedPrint(mark, sizeof(mark), "%s\\%s", folder, INSTALLED_MARK);
        if (!FileExists(mark) && FolderCanBeWritten(folder)) {
            CopyText(DataFolder, sizeof(DataFolder), folder);
            CopyText(IniPath, PATH_CHARS, beside);
            CopyText(eventLogPath, PATH_CHARS, eventLog);
            CopyText(trafficLogPath, PATH_CHARS, trafficLog);
            return;
        }
    }

    char perUser[PATH_CHARS], program[PATH_CHARS];
    if (!Platform.ReadAppDataFolder(perUser, sizeof(perUser)) ||
        BoundedPrint(perUser + strlen(perUser), sizeof(perUser) - strlen(perUser), "\\%s",
                     PER_USER_FOLDER) <= 0 ||
        BoundedPrint(program, sizeof(program), "%s\\%s", perUser, name) <= 0 ||
        strlen(program) + sizeof(".INI") >= PATH_CHARS) {
        // Nowhere else to go: the program's folder, where a failed save is reported.
        CopyText(DataFolder, folderLength + 1 < sizeof(DataFolder) ? folderLength + 1
                                                                  : sizeof(DataFolder),
                 modulePath);
        if (fits)
            DeriveIniPaths(modulePath, IniPath, eventLogPath, trafficLogPath);
        return;
    }
    if (prepare)
        CreateDirectoryA(perUser, NULL);
    CopyText(DataFolder, sizeof(DataFolder), perUser);
    DeriveIniPaths(program, IniPath, eventLogPath, trafficLogPath);
    if (prepare && fits && !FileExists(IniPath) && FileExists(beside))
        CopyAsFirstContent(beside, IniPath);
}

void ChooseDataFolder(const char* modulePath, char* eventLogPath, char* trafficLogPath)
{
    PlaceDataFolder(modulePath, eventLogPath, trafficLogPath, 1);
}

void LocateDataFolder(const char* modulePath)
{
    char eventLog[PATH_CHARS], trafficLog[PATH_CHARS];
    PlaceDataFolder(modulePath, eventLog, trafficLog, 0);
}

int SettingsRecord::Load()
{
    char module[LONG_PATH_CHARS];
    DWORD length = Platform.ReadModuleFileName(NULL, module, sizeof(module));
    if (length == 0 || length >= sizeof(module))
        module[0] = 0;
    module[sizeof(module) - 1] = 0;
    if (module[0] != 0) {
        ChooseDataFolder(module, EventLogPath, TrafficLogPath);
        // A save that a killed process left half done.
        char temporary[PATH_CHARS];
        if (IniPath[0] != 0 && TemporaryPathOf(IniPath, temporary, sizeof(temporary)))
            DeleteFileA(temporary);
    }
    return ReadSection();
}

// A numeric key of the section "Settings": 1 with its value when it holds a number that is
// not negative, 0 when it is missing or holds none.
static int ReadSettingsNumber(const char* key, unsigned __int64 limit, unsigned __int64* value)
{
    char text[NUMBER_CHARS];
    GetPrivateProfileStringA(SettingsSection, key, "", text, sizeof(text), IniPath);
    return ParseUnsigned(text, limit, value);
}

// Whole numbers and switches read as the platform reads them: leading digits with a sign,
// 0 when there are none. Out-of-range types are harmless (never due, alert left alone).
static int ReadSettingsInt(const char* key, int fallback)
{
    return (int)GetPrivateProfileIntA(SettingsSection, key, fallback, IniPath);
}

// The percentage fits one byte: larger numbers stand for the largest, not their low 8 bits.
static BYTE ReadSettingsPercent()
{
    unsigned __int64 percent;
    if (ReadSettingsNumber("AlertPercent", 255, &percent))
        return (BYTE)percent;
    int value = ReadSettingsInt("AlertPercent", 100);
    return (BYTE)(value < 0 ? 0 : value > 255 ? 255 : value);
}

static unsigned __int64 ReadSettingsLimit(const char* key)
{
    unsigned __int64 gigabytes;
    if (!ReadSettingsNumber(key, MAX_LIMIT_GB, &gigabytes))
        return 0;
    return gigabytes * GIGABYTE;
}

static void ReadSettingsPath(const char* key, char* path)
{
    char fallback[PATH_CHARS];
    CopyText(fallback, sizeof(fallback), path);
    GetPrivateProfileStringA(SettingsSection, key, fallback, path, PATH_CHARS, IniPath);
    path[PATH_CHARS - 1] = 0;
}

int SettingsRecord::ReadSection()
{
    if (IniPath[0] == 0)
        return 1;

    char text[NUMBER_CHARS];
    GetPrivateProfileStringA(SettingsSection, "ResetDate", "", text, sizeof(text), IniPath);
    if (text[0] != 0) {
        DATE date;
        SYSTEMTIME point;
        if (!IsBareNumber(text) && ReadDateText(text, &date) &&
            VariantTimeToSystemTime(date, &point)) {
            ResetDate = point;
        } else {
            // The day of the monthly reset, from the text's leading number; a day past the end
            // of a month stands for its last day.
            ResetDate.wDay = (WORD)atoi(text);
        }
    }
    ResetType = ReadSettingsInt("ResetType", ResetNever);
    AlertType = ReadSettingsInt("AlertType", AlertNone);
    LimitIN = ReadSettingsLimit("LimitIN");
    LimitOUT = ReadSettingsLimit("LimitOUT");
    AlertPercent = ReadSettingsPercent();
    EnableLog = ReadSettingsInt("EnableLog", 0);
    ReadSettingsPath("LogPathName", EventLogPath);
    EnableTrafficLog = ReadSettingsInt("EnableTrafficLog", 0);
    ReadSettingsPath("TrafficLogPathName", TrafficLogPath);
    IgnoreLoopBack = ReadSettingsInt("IgnoreLoopBack", IgnoreLoopBack);
    return 1;
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

int SettingsRecord::StoreSection(IniDocument& document)
{
    char text[NUMBER_CHARS];
    int dateWritten = 0;
    int ok = 1;
    if (ResetDate.wYear != 0) {
        DATE point;
        if (SystemTimeToVariantTime(&ResetDate, &point) &&
            DateToIsoText(point, text, sizeof(text))) {
            ok &= document.Set(SettingsSection, "ResetDate", text);
            dateWritten = 1;
        }
    }
    // No full date (or one the platform cannot write): the day of the monthly reset.
    if (!dateWritten)
        ok &= WriteSettingsNumber(document, "ResetDate", "%u", (unsigned)ResetDate.wDay);
    ok &= WriteSettingsNumber(document, "ResetType", "%d", ResetType);
    ok &= WriteSettingsNumber(document, "AlertType", "%d", AlertType);
    ok &= WriteSettingsNumber(document, "LimitIN", "%I64u", LimitIN / GIGABYTE);
    ok &= WriteSettingsNumber(document, "LimitOUT", "%I64u", LimitOUT / GIGABYTE);
    ok &= WriteSettingsNumber(document, "AlertPercent", "%u", (unsigned)AlertPercent);
    ok &= WriteSettingsNumber(document, "EnableLog", "%d", EnableLog);
    ok &= document.Set(SettingsSection, "LogPathName", EventLogPath);
    ok &= WriteSettingsNumber(document, "EnableTrafficLog", "%d", EnableTrafficLog);
    ok &= document.Set(SettingsSection, "TrafficLogPathName", TrafficLogPath);
    ok &= WriteSettingsNumber(document, "IgnoreLoopBack", "%d", IgnoreLoopBack);
    return ok;
}

static void FillSettings(IniDocument& document, void* settings)
{
    ((SettingsRecord*)settings)->StoreSection(document);
}

int SettingsRecord::Save()
{
    return SaveIni(FillSettings, this);
}

int SettingsRecord::SaveIni(void (*fill)(IniDocument& document, void* context), void* context)
{
    if (IniPath[0] == 0)
        return 1;
    IniDocument document;
    if (!document.Read(IniPath)) {
        LastSaveError = GetLastError();
        return 0;
    }
    fill(document, context);
    // A key that could not be set (no memory) would leave an old value among the new ones:
    // nothing is written, and the next save tries again.
    if (document.Failed()) {
        LastSaveError = ERROR_NOT_ENOUGH_MEMORY;
        return 0;
    }
    // The file is written whole or not at all; a failed save leaves it as it was, and the
    // figures stay in memory for the next try.
    if (!document.WriteReplacing(IniPath, &LastSaveError))
        return 0;
    LastSaveError = NO_ERROR;
    return 1;
}

int SettingsRecord::ReadIniU64(const char* section, const char* key, unsigned __int64* value)
{
    char text[NUMBER_CHARS] = "0";
    if (IniPath[0] != 0)
        GetPrivateProfileStringA(section, key, "0", text, sizeof(text), IniPath);
    ParseUnsigned(text, 0xFFFFFFFFFFFFFFFFULL, value);
    return 1;
}

int SettingsRecord::ReadIniU32(const char* section, const char* key, DWORD* value)
{
    char text[NUMBER_CHARS] = "0";
    if (IniPath[0] != 0)
        GetPrivateProfileStringA(section, key, "0", text, sizeof(text), IniPath);
    unsigned __int64 number;
    ParseUnsigned(text, 0xFFFFFFFFULL, &number);
    *value = (DWORD)number;
    return 1;
}

int SettingsRecord::ReadIniDate(const char* section, const char* key, VARIANT* value)
{
    char text[NUMBER_CHARS] = "";
    if (IniPath[0] != 0)
        GetPrivateProfileStringA(section, key, "", text, sizeof(text), IniPath);
    DATE date;
    if (text[0] == 0 || !ReadDateText(text, &date))
        CurrentDate(&date);
    VariantClear(value);
    value->vt = VT_DATE;
    value->date = date;
    return 1;
}

int SettingsRecord::WriteIniU64(IniDocument& document, const char* section, const char* key,
                                unsigned __int64 value)
{
    char text[NUMBER_CHARS];
    _ui64toa(value, text, 10);
    return document.Set(section, key, text);
}

int SettingsRecord::WriteIniU32(IniDocument& document, const char* section, const char* key,
                                DWORD value)
{
    char text[NUMBER_CHARS];
    _ultoa(value, text, 10);
    return document.Set(section, key, text);
}

int SettingsRecord::WriteIniDate(IniDocument& document, const char* section, const char* key,
                                 const VARIANT* value)
{
    char text[NUMBER_CHARS];
    // A value that is no date leaves the key as it was.
    if (value->vt != VT_DATE || !DateToIsoText(value->date, text, sizeof(text)))
        return 1;
    return document.Set(section, key, text);
}
