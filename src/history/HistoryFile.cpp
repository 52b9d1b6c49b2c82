// The history table as its CSV file: the lines read and written, and where the file lies.
#include "HistoryTable.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "DecimalText.h"
#include "HistoryCalendar.h"
#include "OwnedHandle.h"
#include "PathSplit.h"
#include "Utf8Text.h"

#define MAX_NUMBER_DIGITS 20
// A history file larger than this is not one this program wrote: ten adapters over a century
// are some 40 MB.
#define MAX_HISTORY_BYTES (256UL * 1024 * 1024)
#define MAX_FIELD_CHARS (2 * DESCRIPTION_CHARS + 8)
#define FIELD_COUNT 5
#define TEMPORARY_SUFFIX ".new"

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

// A field that is a whole number and nothing else.
static int ParseNumber(const char* text, size_t length, unsigned __int64* value)
{
    size_t digits;
    return length > 0 && length <= MAX_NUMBER_DIGITS &&
           ReadDecimal(text, length, MAX_BYTE_COUNT, value, &digits) == DecimalRead &&
           digits == length;
}

// Texts a spreadsheet would take for a formula get an apostrophe in front in the file.
static int LooksLikeFormula(const char* text)
{
    return text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@';
}

// Splits one line into its fields: plain, or quoted with doubled quotes inside. 0 when the
// line does not have exactly FIELD_COUNT fields or a field is too long.
static int SplitFields(const char* line, size_t length, char fields[FIELD_COUNT][MAX_FIELD_CHARS],
                       size_t lengths[FIELD_COUNT])
{
    size_t at = 0;
    int field = 0;
    for (;;) {
        if (field == FIELD_COUNT)
            return 0;
        char* out = fields[field];
        size_t used = 0;
        if (at < length && line[at] == '"') {
            at++;
            for (;;) {
                if (at >= length)
                    return 0;  // no closing quote
                if (line[at] == '"') {
                    if (at + 1 < length && line[at + 1] == '"') {
                        at++;
                    } else {
                        at++;
                        break;
                    }
                }
                if (used + 1 >= MAX_FIELD_CHARS)
                    return 0;
                out[used++] = line[at++];
            }
            if (at < length && line[at] != ',')
                return 0;
        } else {
            while (at < length && line[at] != ',') {
                if (used + 1 >= MAX_FIELD_CHARS)
                    return 0;
                out[used++] = line[at++];
            }
        }
        out[used] = 0;
        lengths[field++] = used;
        if (at >= length)
            return field == FIELD_COUNT;
        at++;  // the comma
    }
}

// One line as a record; 0 when it is none.
static int ParseLine(HistoryTable* table, const char* line, size_t length, int* added)
{
    static char fields[FIELD_COUNT][MAX_FIELD_CHARS];
    size_t lengths[FIELD_COUNT];
    *added = 0;
    if (!SplitFields(line, length, fields, lengths))
        return 1;
    int day;
    unsigned __int64 in, out;
    if (!ParseIsoDate(fields[0], lengths[0], &day) || !IsMacText(fields[1], lengths[1]) ||
        !ParseNumber(fields[3], lengths[3], &in) || !ParseNumber(fields[4], lengths[4], &out))
        return 1;
    char mac[MAC_TEXT_CHARS];
    for (size_t i = 0; i <= lengths[1]; i++) {
        char c = fields[1][i];
        mac[i] = c >= 'a' && c <= 'f' ? (char)(c - 'a' + 'A') : c;
    }
    const char* description = fields[2];
    if (description[0] == '\'' && LooksLikeFormula(description + 1))
        description++;
    char clean[DESCRIPTION_CHARS + 1];
    CleanDescription(description, strlen(description), clean, sizeof(clean));
    if (!table->Append(day, mac, clean, in, out))
        return 0;
    *added = 1;
    return 1;
}

int HistoryTable::ParseText(const char* text, size_t length, int* skipped)
{
    *skipped = 0;
    size_t at = 0;
    while (at < length) {
        size_t end = at;
        while (end < length && text[end] != '\n')
            end++;
        size_t lineLength = end - at;
        while (lineLength > 0 && (text[at + lineLength - 1] == '\r'))
            lineLength--;
        int header = lineLength == strlen(HISTORY_HEADER) &&
                     memcmp(text + at, HISTORY_HEADER, lineLength) == 0;
        if (lineLength > 0 && !header) {
            int added;
            if (!ParseLine(this, text + at, lineLength, &added))
                return 0;
            if (!added)
                (*skipped)++;
        }
        at = end + 1;
    }
    // A file written by hand may repeat a day: both parts count.
    Normalize(MergeAdd);
    return 1;
}

int HistoryTable::ReadFile(const char* path, int* skipped)
{
    Clear();
    *skipped = 0;
    OwnedHandle file(CreateFileW(WideText(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                 FILE_SHARE_DELETE, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 NULL));
    if (!file) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file.Get(), &high);
    GrowArray<char> text;
    DWORD got = 0;
    if (size == INVALID_FILE_SIZE || high != 0 || size > MAX_HISTORY_BYTES ||
        !text.Resize((int)size + 1) || !::ReadFile(file.Get(), text.Data(), size, &got, NULL) ||
        got != size)
        return 0;
    file.Reset();
    return ParseText(text.Data(), size, skipped);
}

// The description as a quoted CSV field; returns its length.
static size_t QuoteDescription(const char* description, char* buffer, size_t size)
{
    size_t used = 0;
    buffer[used++] = '"';
    if (LooksLikeFormula(description))
        buffer[used++] = '\'';
    for (const char* c = description; *c != 0 && used + 3 < size; c++) {
        if (*c == '"')
            buffer[used++] = '"';
        buffer[used++] = *c;
    }
    buffer[used++] = '"';
    buffer[used] = 0;
    return used;
}

int HistoryTable::FormatText(GrowArray<char>* text) const
{
    enum { QuotedChars = 2 * DESCRIPTION_CHARS + 4 };
    enum { FixedChars = ISO_DATE_CHARS + MAC_TEXT_CHARS + 2 * MAX_NUMBER_DIGITS + 8 };
    struct Quoted {
        char Text[QuotedChars];
        size_t Length;
    };
    text->Clear();
    GrowArray<Quoted> quoted;
    if (!quoted.Resize(Names.Count()))
        return 0;
    for (int i = 0; i < Names.Count(); i++)
        quoted[i].Length = QuoteDescription(Names[i].Description, quoted[i].Text, QuotedChars);
    unsigned __int64 size = sizeof(HISTORY_HEADER) + 2;
    for (int i = 0; i < Records.Count(); i++)
        size += FixedChars + quoted[Records[i].Name].Length;
    if (size >= MAX_HISTORY_BYTES || !text->Resize((int)size))
        return 0;
    char* out = text->Data();
    size_t used = (size_t)BoundedPrint(out, (size_t)size, "%s\r\n", HISTORY_HEADER);
    for (int i = 0; i < Records.Count(); i++) {
        const HistoryRecord& record = Records[i];
        const Quoted& description = quoted[record.Name];
        used += FormatIsoDate(record.Day, out + used, (size_t)size - used);
        used += BoundedPrint(out + used, (size_t)size - used, ",%s,", Names[record.Name].Mac);
        memcpy(out + used, description.Text, description.Length);
        used += description.Length;
        used += BoundedPrint(out + used, (size_t)size - used, ",%I64u,%I64u\r\n", record.In,
                             record.Out);
    }
    text->Resize((int)used + 1);  // smaller: cannot fail
    return 1;
}

int HistoryTable::WriteFile(const char* path, DWORD* error) const
{
    *error = ERROR_NOT_ENOUGH_MEMORY;
    char temporary[PATH_CHARS];
    if (BoundedPrint(temporary, sizeof(temporary), "%s%s", path, TEMPORARY_SUFFIX) !=
        (int)(strlen(path) + strlen(TEMPORARY_SUFFIX))) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    GrowArray<char> text;
    if (!FormatText(&text))
        return 0;
    DWORD length = (DWORD)text.Count() - 1;
    OwnedHandle file(CreateFileW(WideText(temporary), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file) {
        *error = GetLastError();
        return 0;
    }
    DWORD written = 0;
    int ok = ::WriteFile(file.Get(), text.Data(), length, &written, NULL) && written == length &&
             FlushFileBuffers(file.Get());
    if (!ok)
        *error = GetLastError();
    file.Reset();
    if (ok && !MoveFileExW(WideText(temporary), WideText(path),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = GetLastError();
        ok = 0;
    }
    if (!ok) {
        DeleteFileW(WideText(temporary));
        return 0;
    }
    *error = 0;
    return 1;
}

int HistoryPathFor(const char* iniPath, char* buffer, size_t size)
{
    size_t folder = FolderPartLength(iniPath);
    size_t needed = folder + strlen(HISTORY_FILE_NAME);
    if (iniPath[0] == 0 || needed + 1 > size) {
        if (size > 0)
            buffer[0] = 0;
        return 0;
    }
    memcpy(buffer, iniPath, folder);
    memcpy(buffer + folder, HISTORY_FILE_NAME, strlen(HISTORY_FILE_NAME) + 1);
    return 1;
}
