#include "IniDocument.h"

#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"

// An INI file larger than this is not something this program wrote.
#define MAX_INI_BYTES (16UL * 1024 * 1024)
#define LINE_END "\r\n"
#define LINE_END_LENGTH 2
#define SECTION_LINE_CHARS 300

IniDocument::IniDocument() : Data(NULL), Used(0), Capacity(0) {}

IniDocument::~IniDocument()
{
    free(Data);
}

int IniDocument::Reserve(size_t more)
{
    if (Used + more + 1 <= Capacity)
        return 1;
    size_t capacity = Capacity < 4096 ? 4096 : Capacity;
    while (capacity < Used + more + 1)
        capacity *= 2;
    char* grown = (char*)realloc(Data, capacity);
    if (grown == NULL)
        return 0;
    Data = grown;
    Capacity = capacity;
    return 1;
}

int IniDocument::Read(const char* path)
{
    Used = 0;
    if (Data != NULL)
        Data[0] = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                      FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    DWORD high = 0;
    DWORD length = GetFileSize(file, &high);
    int ok = length != INVALID_FILE_SIZE && high == 0 && length <= MAX_INI_BYTES &&
             Reserve(length);
    if (ok) {
        DWORD got = 0;
        ok = ReadFile(file, Data, length, &got, NULL) && got == length;
        Used = ok ? length : 0;
        Data[Used] = 0;
    }
    CloseHandle(file);
    return ok;
}

int IniDocument::Splice(size_t at, size_t removed, const char* text, size_t length)
{
    if (length > removed && !Reserve(length - removed))
        return 0;
    memmove(Data + at + length, Data + at + removed, Used - at - removed + 1);
    memcpy(Data + at, text, length);
    Used = Used - removed + length;
    return 1;
}

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The line from at to its end (without the line end), and where the next line starts.
static size_t LineEnd(const char* text, size_t used, size_t at, size_t* next)
{
    const char* end = (const char*)memchr(text + at, '\n', used - at);
    size_t stop = end != NULL ? (size_t)(end - text) : used;
    *next = end != NULL ? stop + 1 : used;
    if (stop > at && text[stop - 1] == '\r')
        stop--;
    return stop;
}

// Whether the text from at to stop, blanks aside, is name (in any case).
static int NameIs(const char* text, size_t at, size_t stop, const char* name)
{
    while (at < stop && IsBlank(text[at]))
        at++;
    while (stop > at && IsBlank(text[stop - 1]))
        stop--;
    size_t length = strlen(name);
    return stop - at == length && _strnicmp(text + at, name, length) == 0;
}

enum LineKind { PlainLine, OtherHeader, SectionHeader };

// Whether the line from at to stop opens a section, and whether it is the one named; first is
// where its blanks end.
static LineKind KindOfLine(const char* text, size_t at, size_t stop, const char* section,
                           size_t* first)
{
    while (at < stop && IsBlank(text[at]))
        at++;
    *first = at;
    if (at >= stop || text[at] != '[')
        return PlainLine;
    const char* close = (const char*)memchr(text + at, ']', stop - at);
    return close != NULL && NameIs(text, at + 1, (size_t)(close - text), section) ? SectionHeader
                                                                                 : OtherHeader;
}

int IniDocument::Set(const char* section, const char* key, const char* value)
{
    if (!Reserve(0))
        return 0;
    size_t keyLength = strlen(key), valueLength = strlen(value);
    int inSection = 0, found = 0;
    size_t sectionEnd = 0;  // after the last line of the section that is not blank
    size_t at = 0;
    while (at < Used) {
        size_t next;
        size_t stop = LineEnd(Data, Used, at, &next);
        size_t first;
        LineKind kind = KindOfLine(Data, at, stop, section, &first);
        if (kind != PlainLine) {
            if (found && inSection)
                break;  // the section ends here
            inSection = kind == SectionHeader;
            if (inSection) {
                found = 1;
                sectionEnd = next;
            }
        } else if (inSection) {
            const char* equals = (const char*)memchr(Data + first, '=', stop - first);
            if (equals != NULL && NameIs(Data, first, (size_t)(equals - Data), key)) {
                size_t valueAt = (size_t)(equals - Data) + 1;
                return Splice(valueAt, stop - valueAt, value, valueLength);
            }
            if (first < stop)
                sectionEnd = next;
        }
        at = next;
    }

    char line[1024];
    int length = BoundedPrint(line, sizeof(line), "%s=%s" LINE_END, key, value);
    if ((size_t)length != keyLength + 1 + valueLength + LINE_END_LENGTH)
        return 0;  // too long for a line of ours
    int ended = Used == 0 || Data[Used - 1] == '\n';
    if (found) {
        // A section whose last line is the file's last, without a line end, gets one first.
        if (sectionEnd >= Used && !ended) {
            if (!Splice(Used, 0, LINE_END, LINE_END_LENGTH))
                return 0;
            sectionEnd = Used;
        }
        return Splice(sectionEnd, 0, line, (size_t)length);
    }
    char header[SECTION_LINE_CHARS];
    int headerLength = BoundedPrint(header, sizeof(header), "%s[%s]" LINE_END,
                                    ended ? "" : LINE_END, section);
    return Splice(Used, 0, header, (size_t)headerLength) &&
           Splice(Used, 0, line, (size_t)length);
}

void IniDocument::RemoveSection(const char* section)
{
    size_t start = 0;
    int inSection = 0;
    size_t at = 0;
    while (at < Used) {
        size_t next;
        size_t stop = LineEnd(Data, Used, at, &next);
        size_t first;
        LineKind kind = KindOfLine(Data, at, stop, section, &first);
        if (kind != PlainLine) {
            if (inSection) {
                Splice(start, at - start, "", 0);
                next = start;
                inSection = 0;
            }
            if (kind == SectionHeader) {
                inSection = 1;
                start = at;
            }
        }
        at = next;
    }
    if (inSection)
        Splice(start, Used - start, "", 0);
}

int TemporaryPathOf(const char* path, char* temporary, size_t size)
{
    const char* slash = strrchr(path, '\\');
    const char* dot = strrchr(path, '.');
    size_t base = dot != NULL && (slash == NULL || dot > slash) ? (size_t)(dot - path)
                                                                : strlen(path);
    if (base + 5 > size || base + 5 > MAX_PATH)
        return 0;
    memcpy(temporary, path, base);
    memcpy(temporary + base, ".TMP", 5);
    return 1;
}

int IniDocument::WriteReplacing(const char* path, DWORD* error)
{
    *error = NO_ERROR;
    char temporary[MAX_PATH];
    if (!TemporaryPathOf(path, temporary, sizeof(temporary))) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return 0;
    }
    DWORD written = 0;
    int ok = (Used == 0 || (WriteFile(file, Data, (DWORD)Used, &written, NULL) &&
                            written == Used)) &&
             FlushFileBuffers(file);
    if (!ok)
        *error = GetLastError();
    CloseHandle(file);
    if (ok && !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = GetLastError();
        ok = 0;
    }
    if (!ok)
        DeleteFileA(temporary);
    return ok;
}
