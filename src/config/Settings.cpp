#include "Settings.h"

#include <mbstring.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"
#include "Platform.h"

SettingsRecord Settings;
char IniPath[PATH_CHARS];

static const char SettingsSection[] = "Settings";

#define NUMBER_CHARS 64
// The largest whole number of gigabytes that a 64-bit byte count holds.
#define MAX_LIMIT_GB 18446744073ULL
// An INI file larger than this is not something this program wrote; it is not copied.
#define MAX_INI_BYTES (16UL * 1024 * 1024)

SettingsRecord::SettingsRecord()
    : ResetDate(), ResetType(ResetNever), AlertType(AlertNone), LimitIN(0), LimitOUT(0),
      AlertPercent(100), EnableLog(0), EnableTrafficLog(0), IgnoreLoopBack(1)
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
    if (*text < '0' || *text > '9')
        return 0;
    unsigned __int64 number = 0;
    for (; *text >= '0' && *text <= '9'; text++) {
        unsigned digit = (unsigned)(*text - '0');
        if (number > (limit - digit) / 10) {
            number = limit;  // the rest of the digits can only make it larger
            break;
        }
        number = number * 10 + digit;
    }
    *value = number;
    return 1;
}

static int IsBareNumber(const char* text)
{
    while (*text == ' ' || *text == '\t')
        text++;
    if (*text == '+' || *text == '-')
        text++;
    if (*text < '0' || *text > '9')
        return 0;
    while (*text >= '0' && *text <= '9')
        text++;
    while (*text == ' ' || *text == '\t')
        text++;
    return *text == 0;
}

// Date texts go through the variant conversion in the user's default locale, both ways.
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
    HRESULT result = VariantChangeType(&out, &in, 0, VT_DATE);
    VariantClear(&in);
    if (FAILED(result) || out.vt != VT_DATE) {
        VariantClear(&out);
        return 0;
    }
    *date = out.date;
    return 1;
}

static int VariantToText(const VARIANT* value, char* text, int size)
{
    text[0] = 0;
    VARIANT copy, out;
    VariantInit(&copy);
    VariantInit(&out);
    if (FAILED(VariantCopy(&copy, const_cast<VARIANT*>(value))))
        return 0;
    HRESULT result = VariantChangeType(&out, &copy, 0, VT_BSTR);
    VariantClear(&copy);
    if (FAILED(result) || out.vt != VT_BSTR || out.bstrVal == NULL) {
        VariantClear(&out);
        return 0;
    }
    int written = WideCharToMultiByte(CP_ACP, 0, out.bstrVal, -1, text, size, NULL, NULL);
    VariantClear(&out);
    if (written == 0) {
        text[0] = 0;
        return 0;
    }
    return 1;
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
    const unsigned char* slash = _mbsrchr(path, '\\');
    const unsigned char* forward = _mbsrchr(path, '/');
    if (forward != NULL && (slash == NULL || forward > slash))
        slash = forward;
    if (dot != NULL && (slash == NULL || dot > slash)) {
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

int SettingsRecord::Load()
{
    char module[PATH_CHARS];
    DWORD length = Platform.ReadModuleFileName(NULL, module, PATH_CHARS);
    if (length == 0 || length >= PATH_CHARS)
        module[0] = 0;
    module[PATH_CHARS - 1] = 0;
    if (module[0] != 0)
        DeriveIniPaths(module, IniPath, EventLogPath, TrafficLogPath);
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
        if (!IsBareNumber(text) && TextToDate(text, &date) &&
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

static void WriteSettingsNumber(const char* key, const char* format, ...)
{
    char text[NUMBER_CHARS];
    va_list arguments;
    va_start(arguments, format);
    _vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    text[sizeof(text) - 1] = 0;
    WritePrivateProfileStringA(SettingsSection, key, text, IniPath);
}

int SettingsRecord::Save()
{
    if (IniPath[0] == 0)
        return 1;

    char text[NUMBER_CHARS];
    int dateWritten = 0;
    if (ResetDate.wYear != 0) {
        VARIANT point;
        VariantInit(&point);
        point.vt = VT_DATE;
        if (SystemTimeToVariantTime(&ResetDate, &point.date) &&
            VariantToText(&point, text, sizeof(text))) {
            WritePrivateProfileStringA(SettingsSection, "ResetDate", text, IniPath);
            dateWritten = 1;
        }
    }
    // No full date (or one the platform cannot write): the day of the monthly reset.
    if (!dateWritten)
        WriteSettingsNumber("ResetDate", "%u", (unsigned)ResetDate.wDay);
    WriteSettingsNumber("ResetType", "%d", ResetType);
    WriteSettingsNumber("AlertType", "%d", AlertType);
    WriteSettingsNumber("LimitIN", "%I64u", LimitIN / GIGABYTE);
    WriteSettingsNumber("LimitOUT", "%I64u", LimitOUT / GIGABYTE);
    WriteSettingsNumber("AlertPercent", "%u", (unsigned)AlertPercent);
    WriteSettingsNumber("EnableLog", "%d", EnableLog);
    WritePrivateProfileStringA(SettingsSection, "LogPathName", EventLogPath, IniPath);
    WriteSettingsNumber("EnableTrafficLog", "%d", EnableTrafficLog);
    WritePrivateProfileStringA(SettingsSection, "TrafficLogPathName", TrafficLogPath, IniPath);
    WriteSettingsNumber("IgnoreLoopBack", "%d", IgnoreLoopBack);
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
    if (text[0] == 0 || !TextToDate(text, &date))
        CurrentDate(&date);
    VariantClear(value);
    value->vt = VT_DATE;
    value->date = date;
    return 1;
}

int SettingsRecord::WriteIniU64(const char* section, const char* key, unsigned __int64 value)
{
    return WriteIniU64In(IniPath, section, key, value);
}

int SettingsRecord::WriteIniU32(const char* section, const char* key, DWORD value)
{
    return WriteIniU32In(IniPath, section, key, value);
}

int SettingsRecord::WriteIniDate(const char* section, const char* key, const VARIANT* value)
{
    return WriteIniDateIn(IniPath, section, key, value);
}

int SettingsRecord::WriteIniU64In(const char* file, const char* section, const char* key,
                                  unsigned __int64 value)
{
    if (file[0] == 0)
        return 1;
    char text[NUMBER_CHARS];
    _ui64toa(value, text, 10);
    WritePrivateProfileStringA(section, key, text, file);
    return 1;
}

int SettingsRecord::WriteIniU32In(const char* file, const char* section, const char* key,
                                  DWORD value)
{
    if (file[0] == 0)
        return 1;
    char text[NUMBER_CHARS];
    _ultoa(value, text, 10);
    WritePrivateProfileStringA(section, key, text, file);
    return 1;
}

int SettingsRecord::WriteIniDateIn(const char* file, const char* section, const char* key,
                                   const VARIANT* value)
{
    if (file[0] == 0)
        return 1;
    char text[NUMBER_CHARS];
    // A value the platform cannot write leaves the key as it was.
    if (VariantToText(value, text, sizeof(text)))
        WritePrivateProfileStringA(section, key, text, file);
    return 1;
}

static int WriteWhole(HANDLE file, const char* data, DWORD length)
{
    DWORD written = 0;
    if (length != 0 && (!WriteFile(file, data, length, &written, NULL) || written != length))
        return 0;
    return FlushFileBuffers(file);
}

int SettingsRecord::BeginIniCopy(char* copyPath, size_t size)
{
    size_t length = strlen(IniPath);
    if (length == 0 || length + 5 > size || length + 5 > PATH_CHARS)
        return 0;
    _snprintf(copyPath, size, "%s.new", IniPath);
    copyPath[size - 1] = 0;
    // Let go of whatever the profile functions still remember of an earlier copy.
    WritePrivateProfileStringA(NULL, NULL, NULL, copyPath);

    char* data = NULL;
    DWORD dataLength = 0;
    HANDLE source = CreateFileA(IniPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (source == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return 0;
    } else {
        DWORD high = 0;
        dataLength = GetFileSize(source, &high);
        int ok = dataLength != INVALID_FILE_SIZE && high == 0 && dataLength <= MAX_INI_BYTES;
        if (ok) {
            data = (char*)HeapAlloc(GetProcessHeap(), 0, dataLength + 1);
            DWORD got = 0;
            ok = data != NULL && ReadFile(source, data, dataLength, &got, NULL) &&
                 got == dataLength;
        }
        CloseHandle(source);
        if (!ok) {
            if (data != NULL)
                HeapFree(GetProcessHeap(), 0, data);
            return 0;
        }
    }

    HANDLE copy = CreateFileA(copyPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    int ok = copy != INVALID_HANDLE_VALUE;
    if (ok) {
        ok = WriteWhole(copy, data, dataLength);
        CloseHandle(copy);
        if (!ok)
            DeleteFileA(copyPath);
    }
    if (data != NULL)
        HeapFree(GetProcessHeap(), 0, data);
    return ok;
}

int SettingsRecord::CommitIniCopy(const char* copyPath)
{
    // The profile functions may hold the copy's last changes back; have them written first.
    WritePrivateProfileStringA(NULL, NULL, NULL, copyPath);
    HANDLE copy = CreateFileA(copyPath, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (copy != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(copy);
        CloseHandle(copy);
    }
    if (copy != INVALID_HANDLE_VALUE &&
        MoveFileExA(copyPath, IniPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(copyPath);
    return 0;
}
