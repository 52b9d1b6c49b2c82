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

// The OLE automation library, loaded only when a text of an older version is met: the program
// reads and writes its own dates without it, and it brings 1.3 MB of libraries along.
struct DateParser {
    decltype(&SysAllocString) Allocate = nullptr;
    decltype(&VariantChangeTypeEx) Change = nullptr;
    decltype(&VariantClear) Clear = nullptr;
};

static const DateParser* LoadDateParser()
{
    static DateParser parser;
    static bool tried = false;
    if (!tried) {
        tried = true;
        HMODULE library = LoadLibraryW(L"oleaut32.dll");
        if (library != NULL) {
            parser.Allocate = (decltype(&SysAllocString))(void*)GetProcAddress(library, "SysAllocString");
            parser.Change = (decltype(&VariantChangeTypeEx))(void*)GetProcAddress(library, "VariantChangeTypeEx");
            parser.Clear = (decltype(&VariantClear))(void*)GetProcAddress(library, "VariantClear");
        }
    }
    return parser.Allocate && parser.Change && parser.Clear ? &parser : nullptr;
}

// Texts of older versions, in the user's own date format.
static int TextToDate(const char* text, DATE* date)
{
    const DateParser* parser = LoadDateParser();
    if (parser == nullptr)
        return 0;
    WCHAR wide[NumberChars];
    Utf8ToWide(text, wide, NumberChars);
    VARIANT in = {}, out = {};
    in.vt = VT_BSTR;
    in.bstrVal = parser->Allocate(wide);
    if (in.bstrVal == NULL)
        return 0;
    HRESULT result = parser->Change(&out, &in, Platform.UserLocale, 0, VT_DATE);
    parser->Clear(&in);
    if (FAILED(result) || out.vt != VT_DATE) {
        parser->Clear(&out);
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
    return TimeToDate(&time, date) && DateToTime(*date, &back) &&
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
    if (!DateToTime(date, &time))
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
    ReadStoredNumber(text, 0xFFFFFFFFFFFFFFFFULL, value);
}

void ReadIniU32(IniDocument& document, const char* section, const char* key, DWORD* value)
{
    char text[NumberChars];
    ReadIniText(document, section, key, "0", text, sizeof(text));
    unsigned __int64 number;
    ReadStoredNumber(text, 0xFFFFFFFFULL, &number);
    *value = (DWORD)number;
}

void ReadIniDate(IniDocument& document, const char* section, const char* key, VARIANT* value)
{
    char text[NumberChars];
    ReadIniText(document, section, key, "", text, sizeof(text));
    DATE date;
    if (text[0] == 0 || !ReadDateText(text, &date))
        CurrentDate(&date);
    // Empty or a date before: nothing to free.
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
