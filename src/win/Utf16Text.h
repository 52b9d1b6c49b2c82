// Files saved as UTF-16 after a byte-order mark, in either byte order: "Unicode" (FF FE) and
// "Unicode big endian" (FE FF), as editors and spreadsheets save them. The one decoder of such
// files, for the INI file and the history file alike.
#ifndef BRISVANE_UTF16TEXT_H
#define BRISVANE_UTF16TEXT_H

#include <windows.h>
#include <stddef.h>

#include "GrowArray.h"

enum Utf16Mark { NoUtf16Mark = 0, Utf16LittleEndian = 1, Utf16BigEndian = 2 };

// The byte order that the mark at the start of size bytes names; NoUtf16Mark when none does.
int Utf16MarkOf(const BYTE* bytes, size_t size);
// The UTF-16 text after the mark, in the order mark names, as UTF-8 in target, terminated (the
// terminator is not counted in the answer). Returns the bytes, or -1 when no memory could be
// had. *whole is false when the text would not come back the same: an odd last byte (left
// out), a unit 0, or a surrogate without its partner (U+FFFD in its place).
int Utf16FileToUtf8(const BYTE* bytes, size_t size, int mark, GrowArray<char>* target,
                    bool* whole);

#endif
