// Whole texts between the ANSI code page, UTF-16 and UTF-8: for files that older versions wrote
// in the ANSI code page, and for files that keep being written in it while it holds their text.
#ifndef BRISVANE_CODEPAGETEXT_H
#define BRISVANE_CODEPAGETEXT_H

#include <windows.h>
#include <stddef.h>

#include "GrowArray.h"

// length bytes of text in code page (CP_ACP, CP_UTF8, ...) as UTF-8 in target, terminated (the
// terminator is not counted in the answer). Returns the bytes, or -1 when no memory could be had.
int CodePageToUtf8(UINT codePage, const char* text, size_t length, GrowArray<char>* target);
// length UTF-16 units as UTF-8 in target, as CodePageToUtf8 does.
int WideToUtf8Text(const wchar_t* text, size_t length, GrowArray<char>* target);
// length bytes of UTF-8 in the ANSI code page, terminated. *exact is 0 when some character has
// no form there (it then stands as the code page's default character). Returns the bytes, or
// -1 when no memory could be had.
int Utf8ToAnsi(const char* text, size_t length, GrowArray<char>* target, int* exact);
// Whether length bytes of UTF-8 read back the same after a trip through the ANSI code page.
int FitsAnsi(const char* text, size_t length);

#endif
