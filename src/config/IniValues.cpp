#include "IniValues.h"

#include <stdio.h>
#include <stdlib.h>

#include "BoundedText.h"
#include "DateValue.h"
#include "DecimalText.h"
#include "Platform.h"
#include "Utf8Text.h"

namespace {

constexpr size_t NumberChars = 64;
#define DATE_FORMAT "%04u-%02u-%02u %02u:%02u:%02u"

// Texts of older versions, in the user's own date format.
static int TextToDate(const char* text, DATE* date)
{
    WCHAR wide[NumberChars];
    Utf8ToWide(text, wide, NumberChars);
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

static void CurrentDate(DATE* date)
{
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    if (!TimeToDate(&now, date))
        *date = 0;
}

}  // namespace

bool ParseStoredUnsigned(const char* text, unsigned __int64 limit, unsigned __int64* value)
{
    *value = 0;
    while (*text == ' ' || *text == '\t')
        text++;
    if (*text == '-')
        return false;
    if (*text == '+')
        text++;
    size_t digits;
    return ReadDecimal(text, NO_LENGTH_LIMIT, limit, value, &digits) != DecimalNone;
}

// Out-of-range types are harmless (never due, alert left alone).
int ParseStoredInt(const char* text, int fallback)
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

bool ReadDateText(const char* text, DATE* date)
{
    return IsoTextToDate(text, date) || TextToDate(text, date);
}

bool DateToIsoText(DATE date, char* text, size_t size)
{
    SYSTEMTIME time;
    if (!VariantTimeToSystemTime(date, &time))
        return false;
    return BoundedPrint(text, size, DATE_FORMAT, time.wYear, time.wMonth, time.wDay, time.wHour,
                        time.wMinute, time.wSecond) > 0;
}

void ReadIniText(IniDocument& document, const char* section, const char* key,
                     const char* fallback, char* text, size_t size)
{
    if (!document.Get(section, key, text, size))
        CopyText(text, size, fallback);
}

int ReadIniInt(IniDocument& document, const char* section, const char* key, int fallback)
{
    char text[NumberChars];
    ReadIniText(document, section, key, "", text, sizeof(text));
    return ParseStoredInt(text, fallback);
}

void ReadIniU64(IniDocument& document, const char* section, const char* key,
                unsigned __int64* value)
{
    char text[NumberChars];
    ReadIniText(document, section, key, "0", text, sizeof(text));
    ParseStoredUnsigned(text, 0xFFFFFFFFFFFFFFFFULL, value);
}

void ReadIniU32(IniDocument& document, const char* section, const char* key, DWORD* value)
{
    char text[NumberChars];
    ReadIniText(document, section, key, "0", text, sizeof(text));
    unsigned __int64 number;
    ParseStoredUnsigned(text, 0xFFFFFFFFULL, &number);
    *value = (DWORD)number;
}

void ReadIniDate(IniDocument& document, const char* section, const char* key, VARIANT* value)
{
    char text[NumberChars];
    ReadIniText(document, section, key, "", text, sizeof(text));
    DATE date;
    if (text[0] == 0 || !ReadDateText(text, &date))
        CurrentDate(&date);
    VariantClear(value);
    value->vt = VT_DATE;
    value->date = date;
}

bool WriteIniU64(IniDocument& document, const char* section, const char* key,
                 unsigned __int64 value)
{
    char text[NumberChars];
    _ui64toa(value, text, 10);
    return document.Set(section, key, text) != 0;
}

bool WriteIniU32(IniDocument& document, const char* section, const char* key, DWORD value)
{
    char text[NumberChars];
    _ultoa(value, text, 10);
    return document.Set(section, key, text) != 0;
}

bool WriteIniDate(IniDocument& document, const char* section, const char* key,
                  const VARIANT* value)
{
    char text[NumberChars];
    if (value->vt != VT_DATE || !DateToIsoText(value->date, text, sizeof(text)))
        return true;
    return document.Set(section, key, text) != 0;
}
