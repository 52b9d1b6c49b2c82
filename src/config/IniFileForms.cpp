// The INI document's file: read in whichever form it has, written in the ANSI code page while
// that holds the text, else as UTF-8 after its mark; always a new file, then one replace.
#include "IniDocument.h"

#include <string.h>

#include "CodePageText.h"
#include "OwnedHandle.h"
#include "Utf16Text.h"
#include "Utf8Text.h"

// An INI file larger than this is not something this program wrote.
#define MAX_INI_BYTES (16UL * 1024 * 1024)

// The forms an INI file is read in: UTF-8 after its byte-order mark, UTF-16 after its own (in
// either byte order), well-formed UTF-8 without a mark, and else the ANSI code page, in which
// older versions wrote it.
static const char Utf8Mark[] = "\xEF\xBB\xBF";
#define UTF8_MARK_BYTES 3

static int IsAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; i++)
        if ((unsigned char)text[i] >= 0x80)
            return 0;
    return 1;
}

int IniDocument::Read(const char* path)
{
    Used = 0;
    SetFailed = 0;
    DropIndex();
    if (Data != NULL)
        Data[0] = 0;
    OwnedHandle file(CreateFileW(WideText(path), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    DWORD high = 0;
    DWORD length = GetFileSize(file.Get(), &high);
    GrowArray<char> raw;
    if (length == INVALID_FILE_SIZE || high != 0 || length > MAX_INI_BYTES ||
        !raw.Resize((int)length + 1))
        return 0;
    DWORD got = 0;
    if (!ReadFile(file.Get(), raw.Data(), length, &got, NULL) || got != length)
        return 0;
    const char* bytes = raw.Data();
    GrowArray<char> converted;
    int size;
    if (length >= UTF8_MARK_BYTES && memcmp(bytes, Utf8Mark, UTF8_MARK_BYTES) == 0) {
        bytes += UTF8_MARK_BYTES;
        size = (int)(length - UTF8_MARK_BYTES);
    } else if (int mark = Utf16MarkOf((const BYTE*)bytes, length)) {
        // Either byte order. A flawed text (an odd last byte, a lone surrogate) is still read:
        // the settings and totals in it matter more than the flaw.
        bool whole;
        size = Utf16FileToUtf8((const BYTE*)bytes, length, mark, &converted, &whole);
        bytes = converted.Data();
    } else if (IsUtf8(bytes, length)) {
        // Plain ASCII, or UTF-8 without its mark as today's Notepad saves it: ANSI text of an
        // older version is next to never also well-formed UTF-8.
        size = (int)length;
    } else {
        size = CodePageToUtf8(CP_ACP, bytes, length, &converted);
        bytes = converted.Data();
    }
    if (size < 0 || !Reserve((size_t)size))
        return 0;
    memcpy(Data, bytes, (size_t)size);
    Used = (size_t)size;
    Data[Used] = 0;
    return 1;
}

int TemporaryPathOf(const char* path, char* temporary, size_t size)
{
    const char* slash = strrchr(path, '\\');
    const char* dot = strrchr(path, '.');
    size_t base = dot != NULL && (slash == NULL || dot > slash) ? (size_t)(dot - path)
                                                                : strlen(path);
    if (base + 5 > size)
        return 0;
    memcpy(temporary, path, base);
    memcpy(temporary + base, ".TMP", 5);
    return 1;
}

int IniDocument::WriteReplacing(const char* path, DWORD* error)
{
    *error = NO_ERROR;
    char temporary[PATH_CHARS];
    if (!TemporaryPathOf(path, temporary, sizeof(temporary))) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    // The ANSI code page while it holds the whole text, so that older versions read the file
    // as before; else UTF-8 after its byte-order mark, which reads back exactly.
    GrowArray<char> ansi;
    const char* bytes = Text();
    size_t length = Used;
    int asUtf8 = !FitsAnsi(bytes, length);
    if (!asUtf8 && !IsAscii(bytes, length)) {
        int exact;
        int converted = Utf8ToAnsi(bytes, length, &ansi, &exact);
        if (converted < 0) {
            *error = ERROR_NOT_ENOUGH_MEMORY;
            return 0;
        }
        bytes = ansi.Data();
        length = (size_t)converted;
    }
    WideText wideTemporary(temporary);
    int ok;
    {
        OwnedHandle file(CreateFileW(wideTemporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, NULL));
        if (!file) {
            *error = GetLastError();
            return 0;
        }
        DWORD written = 0;
        ok = (!asUtf8 || (WriteFile(file.Get(), Utf8Mark, UTF8_MARK_BYTES, &written, NULL) &&
                          written == UTF8_MARK_BYTES)) &&
             (length == 0 ||
              (WriteFile(file.Get(), bytes, (DWORD)length, &written, NULL) && written == length)) &&
             FlushFileBuffers(file.Get());
        if (!ok)
            *error = GetLastError();
    }
    if (ok && !MoveFileExW(wideTemporary, WideText(path),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = GetLastError();
        ok = 0;
    }
    if (!ok)
        DeleteFileW(wideTemporary);
    return ok;
}
