#include "CodePageText.h"

#include <limits.h>
#include <string.h>

#include "Units.h"

// The texts converted here are files of at most some megabytes; larger ones are refused.
#define MAX_CONVERTED_BYTES (INT_MAX / 4)

int WideToUtf8Text(const wchar_t* text, size_t length, GrowArray<char>* target)
{
    if (length > MAX_CONVERTED_BYTES)
        return -1;
    int bytes = length == 0 ? 0
                            : WideCharToMultiByte(CP_UTF8, 0, text, (int)length, NULL, 0, NULL,
                                                  NULL);
    if (length != 0 && bytes <= 0)
        return -1;
    if (!target->Resize(bytes + 1))
        return -1;
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, (int)length, target->Data(), bytes, NULL, NULL);
    (*target)[bytes] = 0;
    return bytes;
}

// length bytes of a code page as UTF-16 in wide, terminated; the units, or -1.
static int ToWide(UINT codePage, const char* text, size_t length, GrowArray<wchar_t>* wide)
{
    if (length > MAX_CONVERTED_BYTES)
        return -1;
    int units =
        length == 0 ? 0 : MultiByteToWideChar(codePage, 0, text, (int)length, NULL, 0);
    if (length != 0 && units <= 0)
        return -1;
    if (!wide->Resize(units + 1))
        return -1;
    if (units > 0)
        MultiByteToWideChar(codePage, 0, text, (int)length, wide->Data(), units);
    (*wide)[units] = 0;
    return units;
}

int CodePageToUtf8(UINT codePage, const char* text, size_t length, GrowArray<char>* target)
{
    GrowArray<wchar_t> wide;
    int units = ToWide(codePage, text, length, &wide);
    return units < 0 ? -1 : WideToUtf8Text(wide.Data(), (size_t)units, target);
}

int Utf8ToAnsi(const char* text, size_t length, GrowArray<char>* target, int* exact)
{
    *exact = 1;
    GrowArray<wchar_t> wide;
    int units = ToWide(CP_UTF8, text, length, &wide);
    if (units < 0)
        return -1;
    BOOL defaulted = FALSE;
    // No "best fit": a character without its own form must not pass for a similar one.
    int bytes = units == 0 ? 0
                           : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.Data(),
                                                 units, NULL, 0, NULL, NULL);
    if (units != 0 && bytes <= 0)
        return -1;
    if (!target->Resize(bytes + 1))
        return -1;
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.Data(), units, target->Data(),
                            bytes, NULL, &defaulted);
    (*target)[bytes] = 0;
    // A text that was not UTF-8 (U+FFFD stood in for it) cannot come back either.
    for (int i = 0; i < units; i++)
        if (wide[i] == REPLACEMENT_CHARACTER)
            defaulted = TRUE;
    *exact = !defaulted;
    return bytes;
}

int FitsAnsi(const char* text, size_t length)
{
    size_t at = 0;
    while (at < length && (unsigned char)text[at] < 0x80)
        at++;
    if (at == length)
        return 1;  // plain ASCII is the same in every ANSI code page
    GrowArray<char> ansi;
    int exact;
    return Utf8ToAnsi(text, length, &ansi, &exact) >= 0 && exact;
}
