#include "ReportText.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "Units.h"
#include "Utf8Text.h"

#define CONSOLE_CHUNK_UNITS 4096
#define JSON_ESCAPE_CHARS 8
#define FIRST_CONTROL 0x20
#define DELETE_CHARACTER 0x7F

void ReportText::Add(const char* text, size_t length)
{
    if (Failed || length == 0)
        return;
    int used = Text.Count() > 0 ? Text.Count() - 1 : 0;
    if (length > (size_t)0x3FFFFFFF || !Text.Resize(used + (int)length + 1)) {
        Failed = 1;
        return;
    }
    memcpy(Text.Data() + used, text, length);
    Text[used + (int)length] = 0;
}

void ReportText::Add(const char* text)
{
    Add(text, strlen(text));
}

void ReportText::Print(const char* format, ...)
{
    char piece[REPORT_PIECE_CHARS];
    va_list args;
    va_start(args, format);
    int written = _vsnprintf(piece, sizeof(piece), format, args);
    va_end(args);
    if (written < 0 || (size_t)written >= sizeof(piece)) {
        piece[sizeof(piece) - 1] = 0;
        written = (int)strlen(piece);
    }
    Add(piece, (size_t)written);
}

// The length of the well-formed UTF-8 character at text, 0 when it is none.
static size_t Utf8Length(const char* text)
{
    unsigned char c = (unsigned char)text[0];
    size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3
                    : (c & 0xF8) == 0xF0                ? 4
                                                        : 0;
    for (size_t i = 1; i < length; i++)
        if (text[i] == 0)
            return 0;
    return length != 0 && IsUtf8(text, length) ? length : 0;
}

void ReportText::AddJsonString(const char* text)
{
    Add("\"", 1);
    for (const char* at = text; *at != 0;) {
        unsigned char c = (unsigned char)*at;
        char escape[JSON_ESCAPE_CHARS];
        if (c == '"' || c == '\\') {
            escape[0] = '\\';
            escape[1] = (char)c;
            Add(escape, 2);
            at++;
        } else if (c < FIRST_CONTROL || c == DELETE_CHARACTER) {
            int length = _snprintf(escape, sizeof(escape), "\\u%04x", c);
            Add(escape, (size_t)length);
            at++;
        } else {
            size_t length = Utf8Length(at);
            if (length == 0) {
                Add(REPLACEMENT_CHARACTER_UTF8);
                at++;
            } else {
                Add(at, length);
                at += length;
            }
        }
    }
    Add("\"", 1);
}

int WriteReportText(HANDLE handle, const char* text, size_t length)
{
    if (handle == NULL || handle == INVALID_HANDLE_VALUE)
        return 0;
    DWORD mode;
    if (!GetConsoleMode(handle, &mode)) {
        // A file or a pipe: the UTF-8 bytes as they are.
        while (length > 0) {
            DWORD part = length > 0x10000000 ? 0x10000000 : (DWORD)length;
            DWORD written = 0;
            if (!WriteFile(handle, text, part, &written, NULL) || written == 0)
                return 0;
            text += written;
            length -= written;
        }
        return 1;
    }
    // A console takes UTF-16 whatever its code page; converted a whole character at a time.
    static wchar_t wide[CONSOLE_CHUNK_UNITS];
    while (length > 0) {
        size_t take = 0;
        while (take < length && take < CONSOLE_CHUNK_UNITS / 2) {
            size_t next = Utf8Length(text + take);
            take += next != 0 ? next : 1;
        }
        if (take > length)
            take = length;
        int units = MultiByteToWideChar(CP_UTF8, 0, text, (int)take, wide, CONSOLE_CHUNK_UNITS);
        DWORD written = 0;
        if (units <= 0 || !WriteConsoleW(handle, wide, (DWORD)units, &written, NULL))
            return 0;
        text += take;
        length -= take;
    }
    return 1;
}
