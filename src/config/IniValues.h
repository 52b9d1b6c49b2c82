// Typed values of any section of a document of the INI file: counters, dates, numbers and
// texts, read and written the way every version of the program has stored them.
#ifndef BRISVANE_INIVALUES_H
#define BRISVANE_INIVALUES_H

#include <windows.h>
#include <oleauto.h>
#include <stddef.h>

#include "IniDocument.h"

// One key as text; fallback where it is missing.
void ReadIniText(IniDocument& document, const char* section, const char* key,
                 const char* fallback, char* text, size_t size);
// A whole number with a sign, as the platform has always read it; fallback when the key is
// missing or empty.
int ReadIniInt(IniDocument& document, const char* section, const char* key, int fallback);
// Counters: leading digits after blanks and an optional "+", held at their largest value;
// 0 for a missing key or one without digits.
void ReadIniU64(IniDocument& document, const char* section, const char* key,
                unsigned __int64* value);
void ReadIniU32(IniDocument& document, const char* section, const char* key, DWORD* value);
// Always a VT_DATE: the key's date, or now where it is missing or no date.
void ReadIniDate(IniDocument& document, const char* section, const char* key, VARIANT* value);

// A date is written as "yyyy-mm-dd hh:mm:ss", which every locale reads back the same. Each is
// false when the key could not be set (the document then counts as failed).
bool WriteIniU64(IniDocument& document, const char* section, const char* key,
                 unsigned __int64 value);
bool WriteIniU32(IniDocument& document, const char* section, const char* key, DWORD value);
// A value that is no date leaves the key as it was.
bool WriteIniDate(IniDocument& document, const char* section, const char* key,
                  const VARIANT* value);

// Whole numbers and switches as the platform reads them: leading digits with a sign, 0 when
// there are none, the fallback when the text is empty.
int ParseStoredInt(const char* text, int fallback);
// Date texts of the INI file: "yyyy-mm-dd hh:mm:ss" first, then the user's own format, in which
// older versions wrote them. True with the date.
bool ReadDateText(const char* text, DATE* date);
bool DateToIsoText(DATE date, char* text, size_t size);

#endif
