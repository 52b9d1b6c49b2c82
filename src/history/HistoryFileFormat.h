// What the history file's reading and writing share: its bounds and a few small helpers.
#ifndef BRISVANE_HISTORYFILEFORMAT_H
#define BRISVANE_HISTORYFILEFORMAT_H

#include <string.h>

#include "GrowArray.h"

#define MAX_NUMBER_DIGITS 20
// A history file larger than this is not one this program wrote: ten adapters over a century
// are some 40 MB.
#define MAX_HISTORY_BYTES (256UL * 1024 * 1024)

// The text begins with prefix (given in capitals), in any letter case.
inline int StartsWithLetters(const char* text, size_t length, const char* prefix)
{
    size_t count = strlen(prefix);
    if (length < count)
        return 0;
    for (size_t i = 0; i < count; i++) {
        char c = text[i] >= 'a' && text[i] <= 'z' ? (char)(text[i] - 'a' + 'A') : text[i];
        if (c != prefix[i])
            return 0;
    }
    return 1;
}

// Texts a spreadsheet would take for a formula get an apostrophe in front in the file.
inline int LooksLikeFormula(const char* text)
{
    return text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@';
}

inline int AppendBytes(GrowArray<char>* array, const char* bytes, size_t length)
{
    int count = array->Count();
    if (length > MAX_HISTORY_BYTES || !array->Resize(count + (int)length))
        return 0;
    memcpy(array->Data() + count, bytes, length);
    return 1;
}

#endif
