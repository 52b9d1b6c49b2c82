// The names in the history file's lines: adapters' MAC texts and names, and descriptions.
#include "HistoryTable.h"

#include <string.h>

#include "HistoryFileFormat.h"

void CleanDescription(const char* text, size_t length, char* buffer, size_t size)
{
    if (size == 0)
        return;
    size_t used = 0;
    for (size_t i = 0; i < length && text[i] != 0 && used + 1 < size; i++) {
        unsigned char c = (unsigned char)text[i];
        buffer[used++] = c < ' ' || c == 0x7F ? ' ' : (char)c;
    }
    buffer[used] = 0;
}

static int IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int IsMacText(const char* text, size_t length)
{
    // "XX", then "-XX" for every further byte, at most eight bytes.
    if (length < 2 || length > MAC_TEXT_CHARS - 1 || (length + 1) % 3 != 0)
        return 0;
    for (size_t i = 0; i < length; i++) {
        if (i % 3 == 2 ? text[i] != '-' : !IsHexDigit(text[i]))
            return 0;
    }
    return 1;
}

#define LUID_HEX_DIGITS 16
#define MAX_INDEX_DIGITS 10

int IsAdapterName(const char* text, size_t length)
{
    if (IsMacText(text, length))
        return 1;
    if (StartsWithLetters(text, length, "IF-INDEX-")) {
        size_t digits = length - strlen("IF-INDEX-");
        if (digits == 0 || digits > MAX_INDEX_DIGITS)
            return 0;
        for (size_t i = length - digits; i < length; i++)
            if (text[i] < '0' || text[i] > '9')
                return 0;
        return 1;
    }
    if (!StartsWithLetters(text, length, "IF-") || length != strlen("IF-") + LUID_HEX_DIGITS)
        return 0;
    for (size_t i = strlen("IF-"); i < length; i++)
        if (!IsHexDigit(text[i]))
            return 0;
    return 1;
}

int NormalAdapterName(const char* text, size_t length, char* buffer, size_t size)
{
    if (!IsAdapterName(text, length) || length + 1 > size)
        return 0;
    for (size_t i = 0; i < length; i++)
        buffer[i] = text[i] >= 'a' && text[i] <= 'z' ? (char)(text[i] - 'a' + 'A') : text[i];
    buffer[length] = 0;
    return 1;
}
