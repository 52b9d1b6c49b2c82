#include "Settings.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"
#include "DecimalText.h"
#include "Platform.h"
#include "Utf8Text.h"

SettingsRecord Settings;

static const char SettingsSection[] = "Settings";

#define NUMBER_CHARS 64
#define DATE_FORMAT "%04u-%02u-%02u %02u:%02u:%02u"
// The longest program path that is looked at, in UTF-8; a longer one keeps its data per user.
#define LONG_PATH_CHARS (WIDE_PATH_CHARS * 3)

SettingsRecord::SettingsRecord()
    : ResetDate(), ResetType(ResetNever), AlertType(AlertNone), LimitIN(0), LimitOUT(0),
      AlertPercent(100), EnableLog(0), EnableTrafficLog(0), IgnoreLoopBack(1),
      LastSaveError(NO_ERROR)
{
    EventLogPath[0] = 0;
    TrafficLogPath[0] = 0;
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
    Utf8ToWide(text, wide, NUMBER_CHARS);
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

int SettingsRecord::Load()
{
    char module[LONG_PATH_CHARS];
    if (!Platform.ReadModuleFileName(module, sizeof(module)))
        module[0] = 0;
    if (module[0] != 0) {
        ChooseDataFolder(module, EventLogPath, TrafficLogPath);
        // A save that a killed process left half done.
        char temporary[PATH_CHARS];
        if (IniPath[0] != 0 && TemporaryPathOf(IniPath, temporary, sizeof(temporary)))
            DeleteFileW(WideText(temporary));
    }
    return ReadSection();
}

// One key of a document of the INI file, or fallback where it is missing.
static void ReadText(IniDocument& document, const char* section, const char* key,
                     const char* fallback, char* text, size_t size)
{
    if (!document.Get(section, key, text, size))
        CopyText(text, size, fallback);
}

// A numeric key of the section "Settings": 1 with its value when it holds a number that is
// not negative, 0 when it is missing or holds none.
static int ReadSettingsNumber(IniDocument& document, const char* key, unsigned __int64 limit,
                              unsigned __int64* value)
{
    char text[NUMBER_CHARS];
    ReadText(document, SettingsSection, key, "", text, sizeof(text));
    return ReadStoredNumber(text, limit, value);
}

// Whole numbers and switches read as the platform has always read them: leading digits with a
// sign, 0 when there are none, the fallback when the text is empty. Out-of-range types are
// harmless (never due, alert left alone).
static int ParseInt(const char* text, int fallback)
{
    if (text[0] == 0)
        return fallback;
    int negative = *text == '-';
    if (*text == '-' || *text == '+')
        text++;
    unsigned __int64 value;
    size_t count;
    if (ReadDecimal(text, NO_LENGTH_LIMIT, 0xFFFFFFFFULL, &value, &count) == DecimalNone)
        return 0;
    // Beyond 32 bits the platform kept the low bits; so do we.
    return negative ? -(int)(DWORD)value : (int)(DWORD)value;
}

static int ReadSettingsInt(IniDocument& document, const char* key, int fallback)
{
    char text[NUMBER_CHARS];
    if (!document.Get(SettingsSection, key, text, sizeof(text)))
        return fallback;
    return ParseInt(text, fallback);
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
    ReadText(document, SettingsSection, key, fallback, path, PATH_CHARS);
}

int SettingsRecord::ReadSection()
{
    if (IniPath[0] == 0)
        return 1;
    // A file that cannot be read leaves every setting as it is, as a missing key does.
    IniDocument document;
    document.Read(IniPath);

    char text[NUMBER_CHARS];
    ReadText(document, SettingsSection, "ResetDate", "", text, sizeof(text));
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
    ResetType = ReadSettingsInt(document, "ResetType", ResetNever);
    AlertType = ReadSettingsInt(document, "AlertType", AlertNone);
    LimitIN = ReadSettingsLimit(document, "LimitIN");
    LimitOUT = ReadSettingsLimit(document, "LimitOUT");
    AlertPercent = ReadSettingsPercent(document);
    EnableLog = ReadSettingsInt(document, "EnableLog", 0);
    ReadSettingsPath(document, "LogPathName", EventLogPath);
    EnableTrafficLog = ReadSettingsInt(document, "EnableTrafficLog", 0);
    ReadSettingsPath(document, "TrafficLogPathName", TrafficLogPath);
    IgnoreLoopBack = ReadSettingsInt(document, "IgnoreLoopBack", IgnoreLoopBack);
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

void SettingsRecord::ReadIniText(const char* section, const char* key, const char* fallback,
                                 char* text, size_t size)
{
    IniDocument document;
    if (IniPath[0] == 0 || !document.Read(IniPath))
        CopyText(text, size, fallback);
    else
        ReadText(document, section, key, fallback, text, size);
}

int SettingsRecord::ReadIniInt(const char* section, const char* key, int fallback)
{
    char text[NUMBER_CHARS];
    ReadIniText(section, key, "", text, sizeof(text));
    return ParseInt(text, fallback);
}

int SettingsRecord::ReadIniU64(const char* section, const char* key, unsigned __int64* value)
{
    char text[NUMBER_CHARS];
    ReadIniText(section, key, "0", text, sizeof(text));
    ReadStoredNumber(text, 0xFFFFFFFFFFFFFFFFULL, value);
    return 1;
}

int SettingsRecord::ReadIniU32(const char* section, const char* key, DWORD* value)
{
    char text[NUMBER_CHARS];
    ReadIniText(section, key, "0", text, sizeof(text));
    unsigned __int64 number;
    ReadStoredNumber(text, 0xFFFFFFFFULL, &number);
    *value = (DWORD)number;
    return 1;
}

int SettingsRecord::ReadIniDate(const char* section, const char* key, VARIANT* value)
{
    char text[NUMBER_CHARS];
    ReadIniText(section, key, "", text, sizeof(text));
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
