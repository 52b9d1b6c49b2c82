#include "HistoryTable.h"

#include <mbstring.h>
#include <string.h>

#include <algorithm>

#include "BoundedText.h"
#include "HistoryCalendar.h"

#define FIRST_NAME_ROOM 8
#define FIRST_RECORD_ROOM 256
#define MAX_NUMBER_DIGITS 20
// A history file larger than this is not one this program wrote: ten adapters over a century
// are some 40 MB.
#define MAX_HISTORY_BYTES (256UL * 1024 * 1024)
#define MAX_FIELD_CHARS (2 * MAX_DESCR + 8)
#define FIELD_COUNT 5
#define TEMPORARY_SUFFIX ".new"
#define MAX_U64 0xFFFFFFFFFFFFFFFFULL

HistoryTable::HistoryTable()
    : Names(NULL), NameCount(0), Records(NULL), RecordCount(0), NameRoom(0), RecordRoom(0)
{
}

HistoryTable::~HistoryTable()
{
    Clear();
}

void HistoryTable::Clear()
{
    if (Names != NULL)
        HeapFree(GetProcessHeap(), 0, Names);
    if (Records != NULL)
        HeapFree(GetProcessHeap(), 0, Records);
    Names = NULL;
    Records = NULL;
    NameCount = RecordCount = NameRoom = RecordRoom = 0;
}

// Grows a heap block so that it holds at least count + 1 items; 0 when no memory is left.
static int GrowFor(void** block, int* room, int count, size_t itemSize, int firstRoom)
{
    if (count < *room)
        return 1;
    int next = *room == 0 ? firstRoom : *room * 2;
    if (next <= count || next > 0x3FFFFFFF)
        return 0;
    void* grown = *block == NULL
                      ? HeapAlloc(GetProcessHeap(), 0, (size_t)next * itemSize)
                      : HeapReAlloc(GetProcessHeap(), 0, *block, (size_t)next * itemSize);
    if (grown == NULL)
        return 0;
    *block = grown;
    *room = next;
    return 1;
}

int HistoryTable::NameIndex(const char* mac, const char* description)
{
    // The newest names are the likeliest: a file lists its lines day by day.
    for (int i = NameCount - 1; i >= 0; i--)
        if (strcmp(Names[i].Mac, mac) == 0 && strcmp(Names[i].Description, description) == 0)
            return i;
    if (!GrowFor((void**)&Names, &NameRoom, NameCount, sizeof(HistoryName), FIRST_NAME_ROOM))
        return -1;
    HistoryName& name = Names[NameCount];
    CopyText(name.Mac, sizeof(name.Mac), mac);
    CopyText(name.Description, sizeof(name.Description), description);
    return NameCount++;
}

int HistoryTable::Append(int day, const char* mac, const char* description,
                         unsigned __int64 in, unsigned __int64 out)
{
    int name = NameIndex(mac, description);
    if (name < 0 || !GrowFor((void**)&Records, &RecordRoom, RecordCount,
                             sizeof(HistoryRecord), FIRST_RECORD_ROOM))
        return 0;
    HistoryRecord& record = Records[RecordCount++];
    record.Day = day;
    record.Name = name;
    record.In = in;
    record.Out = out;
    return 1;
}

static unsigned __int64 AddHeld(unsigned __int64 a, unsigned __int64 b)
{
    return a > MAX_U64 - b ? MAX_U64 : a + b;
}

static void Join(HistoryRecord* into, const HistoryRecord& from, int merge)
{
    if (merge == MergeAdd) {
        into->In = AddHeld(into->In, from.In);
        into->Out = AddHeld(into->Out, from.Out);
    } else {
        into->In = into->In > from.In ? into->In : from.In;
        into->Out = into->Out > from.Out ? into->Out : from.Out;
    }
    into->Name = from.Name;  // the later line names the adapter as it was last
}

void HistoryTable::Normalize(int merge)
{
    if (RecordCount == 0)
        return;
    // The names in MAC order once, so that records compare by two numbers.
    int* rank = (int*)HeapAlloc(GetProcessHeap(), 0, (size_t)NameCount * sizeof(int));
    int* order = (int*)HeapAlloc(GetProcessHeap(), 0, (size_t)NameCount * sizeof(int));
    if (rank == NULL || order == NULL) {
        if (rank != NULL)
            HeapFree(GetProcessHeap(), 0, rank);
        if (order != NULL)
            HeapFree(GetProcessHeap(), 0, order);
        return;
    }
    for (int i = 0; i < NameCount; i++)
        order[i] = i;
    const HistoryName* names = Names;
    std::sort(order, order + NameCount,
              [names](int a, int b) { return strcmp(names[a].Mac, names[b].Mac) < 0; });
    for (int i = 0; i < NameCount; i++) {
        int same = i > 0 && strcmp(names[order[i]].Mac, names[order[i - 1]].Mac) == 0;
        rank[order[i]] = same ? rank[order[i - 1]] : i;
    }
    // Stable, so that of two lines of one day and adapter the later one comes last.
    std::stable_sort(Records, Records + RecordCount,
                     [rank](const HistoryRecord& a, const HistoryRecord& b) {
                         return a.Day != b.Day ? a.Day < b.Day : rank[a.Name] < rank[b.Name];
                     });
    int kept = 0;
    for (int i = 0; i < RecordCount; i++) {
        if (kept > 0 && Records[kept - 1].Day == Records[i].Day &&
            rank[Records[kept - 1].Name] == rank[Records[i].Name])
            Join(&Records[kept - 1], Records[i], merge);
        else
            Records[kept++] = Records[i];
    }
    RecordCount = kept;
    HeapFree(GetProcessHeap(), 0, rank);
    HeapFree(GetProcessHeap(), 0, order);
}

// The first record of the day or later in a normalized table.
static int FirstOfDay(const HistoryRecord* records, int count, int day)
{
    int low = 0, high = count;
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (records[middle].Day < day)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

const HistoryRecord* HistoryTable::Find(int day, const char* mac) const
{
    for (int i = FirstOfDay(Records, RecordCount, day); i < RecordCount && Records[i].Day == day;
         i++)
        if (strcmp(Names[Records[i].Name].Mac, mac) == 0)
            return &Records[i];
    return NULL;
}

int HistoryTable::Merge(int day, const char* mac, const char* description,
                        unsigned __int64 in, unsigned __int64 out, int merge)
{
    int name = NameIndex(mac, description);
    if (name < 0)
        return 0;
    HistoryRecord joining = {day, name, in, out};
    int at = FirstOfDay(Records, RecordCount, day);
    for (; at < RecordCount && Records[at].Day == day; at++) {
        int order = strcmp(Names[Records[at].Name].Mac, mac);
        if (order == 0) {
            Join(&Records[at], joining, merge);
            return 1;
        }
        if (order > 0)
            break;
    }
    if (!GrowFor((void**)&Records, &RecordRoom, RecordCount, sizeof(HistoryRecord),
                 FIRST_RECORD_ROOM))
        return 0;
    memmove(&Records[at + 1], &Records[at], (size_t)(RecordCount - at) * sizeof(HistoryRecord));
    Records[at] = joining;
    RecordCount++;
    return 1;
}

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

static int ParseNumber(const char* text, size_t length, unsigned __int64* value)
{
    if (length == 0 || length > MAX_NUMBER_DIGITS)
        return 0;
    unsigned __int64 number = 0;
    for (size_t i = 0; i < length; i++) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        unsigned digit = (unsigned)(text[i] - '0');
        if (number > (MAX_U64 - digit) / 10)
            return 0;
        number = number * 10 + digit;
    }
    *value = number;
    return 1;
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
    char clean[MAX_DESCR + 1];
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
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                              FILE_SHARE_DELETE, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              NULL);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    int ok = size != INVALID_FILE_SIZE && high == 0 && size <= MAX_HISTORY_BYTES;
    char* text = NULL;
    if (ok) {
        text = (char*)HeapAlloc(GetProcessHeap(), 0, (size_t)size + 1);
        DWORD got = 0;
        ok = text != NULL && ::ReadFile(file, text, size, &got, NULL) && got == size;
    }
    CloseHandle(file);
    if (ok)
        ok = ParseText(text, size, skipped);
    if (text != NULL)
        HeapFree(GetProcessHeap(), 0, text);
    return ok;
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

char* HistoryTable::FormatText(DWORD* length) const
{
    enum { QuotedChars = 2 * MAX_DESCR + 4 };
    enum { FixedChars = ISO_DATE_CHARS + MAC_TEXT_CHARS + 2 * MAX_NUMBER_DIGITS + 8 };
    *length = 0;
    char(*quoted)[QuotedChars] = NULL;
    size_t* quotedLength = NULL;
    if (NameCount > 0) {
        quoted = (char(*)[QuotedChars])HeapAlloc(GetProcessHeap(), 0,
                                                  (size_t)NameCount * QuotedChars);
        quotedLength = (size_t*)HeapAlloc(GetProcessHeap(), 0, (size_t)NameCount * sizeof(size_t));
    }
    char* text = NULL;
    if (NameCount == 0 || (quoted != NULL && quotedLength != NULL)) {
        for (int i = 0; i < NameCount; i++)
            quotedLength[i] = QuoteDescription(Names[i].Description, quoted[i], QuotedChars);
        unsigned __int64 size = sizeof(HISTORY_HEADER) + 2;
        for (int i = 0; i < RecordCount; i++)
            size += FixedChars + quotedLength[Records[i].Name];
        if (size < MAX_HISTORY_BYTES)
            text = (char*)HeapAlloc(GetProcessHeap(), 0, (size_t)size);
        if (text != NULL) {
            size_t used = (size_t)BoundedPrint(text, (size_t)size, "%s\r\n", HISTORY_HEADER);
            for (int i = 0; i < RecordCount; i++) {
                const HistoryRecord& record = Records[i];
                used += FormatIsoDate(record.Day, text + used, (size_t)size - used);
                used += BoundedPrint(text + used, (size_t)size - used, ",%s,",
                                     Names[record.Name].Mac);
                memcpy(text + used, quoted[record.Name], quotedLength[record.Name]);
                used += quotedLength[record.Name];
                used += BoundedPrint(text + used, (size_t)size - used, ",%I64u,%I64u\r\n",
                                     record.In, record.Out);
            }
            *length = (DWORD)used;
        }
    }
    if (quoted != NULL)
        HeapFree(GetProcessHeap(), 0, quoted);
    if (quotedLength != NULL)
        HeapFree(GetProcessHeap(), 0, quotedLength);
    return text;
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
    DWORD length = 0;
    char* text = FormatText(&length);
    if (text == NULL)
        return 0;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    int ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        DWORD written = 0;
        ok = ::WriteFile(file, text, length, &written, NULL) && written == length &&
             FlushFileBuffers(file);
        if (!ok)
            *error = GetLastError();
        CloseHandle(file);
        if (ok && !MoveFileExA(temporary, path,
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            *error = GetLastError();
            ok = 0;
        }
        if (!ok)
            DeleteFileA(temporary);
    } else {
        *error = GetLastError();
    }
    HeapFree(GetProcessHeap(), 0, text);
    if (ok)
        *error = 0;
    return ok;
}

int HistoryPathFor(const char* iniPath, char* buffer, size_t size)
{
    const unsigned char* path = (const unsigned char*)iniPath;
    const unsigned char* slash = _mbsrchr(path, '\\');
    const unsigned char* forward = _mbsrchr(path, '/');
    if (forward != NULL && (slash == NULL || forward > slash))
        slash = forward;
    size_t folder = slash != NULL ? (size_t)(slash - path) + 1 : 0;
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
