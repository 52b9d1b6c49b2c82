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
#define UTF8_MARK "\xEF\xBB\xBF"
#define MAX_SET_ASIDE_NUMBER 9999
#define CSV_EXTENSION ".csv"

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

static int StartsWithLetters(const char* text, size_t length, const char* prefix)
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

// A field that is a whole number and nothing else.
static int ParseNumber(const char* text, size_t length, unsigned __int64* value)
{
    size_t digits;
    return length > 0 && length <= MAX_NUMBER_DIGITS &&
           ReadDecimal(text, length, MAX_BYTE_COUNT, value, &digits) == DecimalRead &&
           digits == length;
}

// One or two digits, then the separator; advances past both.
static int ReadDatePart(const char* text, size_t length, size_t* at, char separator, int* value)
{
    size_t start = *at;
    *value = 0;
    while (*at < length && *at - start < 2 && text[*at] >= '0' && text[*at] <= '9')
        *value = *value * 10 + (text[(*at)++] - '0');
    if (*at == start || *at >= length || text[*at] != separator)
        return 0;
    (*at)++;
    return 1;
}

// "2026-12-07", or a spreadsheet's European "07.12.2026" (day and month of one or two digits).
static int ParseDate(const char* text, size_t length, int* day)
{
    if (ParseIsoDate(text, length, day))
        return 1;
    size_t at = 0;
    int dayOfMonth, month;
    if (!ReadDatePart(text, length, &at, '.', &dayOfMonth) ||
        !ReadDatePart(text, length, &at, '.', &month) || length - at != 4)
        return 0;
    int year = 0;
    for (; at < length; at++) {
        if (text[at] < '0' || text[at] > '9')
            return 0;
        year = year * 10 + (text[at] - '0');
    }
    if (!IsHistoryDate(year, month, dayOfMonth))
        return 0;
    *day = DayNumber(year, month, dayOfMonth);
    return 1;
}

// Texts a spreadsheet would take for a formula get an apostrophe in front in the file.
static int LooksLikeFormula(const char* text)
{
    return text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@';
}

// Splits one line into its fields, separated by separator: plain, or quoted with doubled
// quotes inside. 0 when the line has fewer than FIELD_COUNT fields, a non-empty field beyond
// them (a spreadsheet pads rows with empty ones) or a field too long.
static int SplitFields(const char* line, size_t length, char separator,
                       char fields[FIELD_COUNT][MAX_FIELD_CHARS], size_t lengths[FIELD_COUNT])
{
    size_t at = 0;
    int field = 0;
    for (;;) {
        char spare[MAX_FIELD_CHARS];
        char* out = field < FIELD_COUNT ? fields[field] : spare;
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
            if (at < length && line[at] != separator)
                return 0;
        } else {
            while (at < length && line[at] != separator) {
                if (used + 1 >= MAX_FIELD_CHARS)
                    return 0;
                out[used++] = line[at++];
            }
        }
        out[used] = 0;
        if (field < FIELD_COUNT)
            lengths[field] = used;
        else if (used > 0)
            return 0;
        field++;
        if (at >= length)
            return field >= FIELD_COUNT;
        at++;  // the separator
    }
}

// The separators a line may use: the file's own comma, or a spreadsheet's semicolon or tab.
static const char Separators[] = {',', ';', '\t'};

static int IsField(const char* field, const char* name)
{
    return strlen(field) == strlen(name) && StartsWithLetters(field, strlen(field), name);
}

// The header line, in any of the separators; it may name the last hand-over.
static int ReadHeader(HistoryTable* table, const char* line, size_t length)
{
    static char fields[FIELD_COUNT][MAX_FIELD_CHARS];
    size_t lengths[FIELD_COUNT];
    for (char separator : Separators) {
        // The hand-over field makes a sixth field that is not empty.
        const char* handOver = NULL;
        size_t handOverLength = 0;
        const char* mark = (const char*)memchr(line, separator, length);
        size_t cut = length;
        for (int i = 1; mark != NULL && i < FIELD_COUNT; i++)
            mark = (const char*)memchr(mark + 1, separator, length - (size_t)(mark + 1 - line));
        if (mark != NULL) {
            cut = (size_t)(mark - line);
            handOver = mark + 1;
            handOverLength = length - cut - 1;
            // A spreadsheet may quote it or pad the row.
            while (handOverLength > 0 && (handOver[handOverLength - 1] == separator ||
                                          handOver[handOverLength - 1] == '"'))
                handOverLength--;
            if (handOverLength > 0 && handOver[0] == '"') {
                handOver++;
                handOverLength--;
            }
        }
        if (!SplitFields(line, cut, separator, fields, lengths) || !IsField(fields[0], "DATE") ||
            !IsField(fields[1], "MAC"))
            continue;
        // "Hand-over 17 before 2026-12-08"
        const char prefix[] = HAND_OVER_FIELD " ";
        const char before[] = " before ";
        size_t digits = 0;
        unsigned __int64 id;
        size_t idAt = sizeof(prefix) - 1;
        if (handOver != NULL && handOverLength > idAt &&
            memcmp(handOver, prefix, idAt) == 0 &&
            ReadDecimal(handOver + idAt, handOverLength - idAt, MAX_BYTE_COUNT, &id, &digits) ==
                DecimalRead) {
            size_t dateAt = idAt + digits + sizeof(before) - 1;
            int day;
            if (dateAt + ISO_DATE_CHARS == handOverLength &&
                memcmp(handOver + idAt + digits, before, sizeof(before) - 1) == 0 &&
                ParseIsoDate(handOver + dateAt, ISO_DATE_CHARS, &day) && id > table->HandOverId) {
                table->HandOverId = id;
                table->HandOverDay = day;
            }
        }
        return 1;
    }
    return 0;
}

// One line as a record; *added 0 when it is none. 0 only when memory ran out.
static int ParseLine(HistoryTable* table, const char* line, size_t length, int* added)
{
    static char fields[FIELD_COUNT][MAX_FIELD_CHARS];
    size_t lengths[FIELD_COUNT];
    *added = 0;
    for (char separator : Separators) {
        if (!SplitFields(line, length, separator, fields, lengths))
            continue;
        int day;
        unsigned __int64 in, out;
        char name[MAC_TEXT_CHARS];
        if (!ParseDate(fields[0], lengths[0], &day) ||
            !NormalAdapterName(fields[1], lengths[1], name, sizeof(name)) ||
            !ParseNumber(fields[3], lengths[3], &in) || !ParseNumber(fields[4], lengths[4], &out))
            continue;
        const char* description = fields[2];
        if (description[0] == '\'' && LooksLikeFormula(description + 1))
            description++;
        // A longer description is not cut: the whole line is kept as it is instead.
        if (strlen(description) > DESCRIPTION_CHARS)
            continue;
        char clean[DESCRIPTION_CHARS + 1];
        CleanDescription(description, strlen(description), clean, sizeof(clean));
        if (!table->Append(day, name, clean, in, out))
            return 0;
        *added = 1;
        return 1;
    }
    return 1;
}

// Nothing but blanks and separators: a line that carries nothing.
static int IsEmptyLine(const char* line, size_t length)
{
    for (size_t i = 0; i < length; i++)
        if (line[i] != ' ' && line[i] != ',' && line[i] != ';' && line[i] != '\t')
            return 0;
    return 1;
}

static int AppendBytes(GrowArray<char>* array, const char* bytes, size_t length)
{
    int count = array->Count();
    if (length > MAX_HISTORY_BYTES || !array->Resize(count + (int)length))
        return 0;
    memcpy(array->Data() + count, bytes, length);
    return 1;
}

int HistoryTable::ParseText(const char* text, size_t length, int* skipped)
{
    *skipped = 0;
    size_t at = 0;
    while (at < length) {
        // Lines end in CR LF, LF or CR alone.
        size_t end = at;
        while (end < length && text[end] != '\n' && text[end] != '\r')
            end++;
        size_t lineLength = end - at;
        const char* line = text + at;
        if (!IsEmptyLine(line, lineLength) && !ReadHeader(this, line, lineLength)) {
            int added;
            if (!ParseLine(this, line, lineLength, &added))
                return 0;
            if (!added) {
                const char terminator = 0;
                if (!AppendBytes(&Unread, line, lineLength) ||
                    !AppendBytes(&Unread, &terminator, 1))
                    return 0;
                UnreadCount++;
                (*skipped)++;
            }
        }
        at = end < length && text[end] == '\r' && end + 1 < length && text[end + 1] == '\n'
                 ? end + 2
                 : end + 1;
    }
    // A file written by hand may repeat a day: both parts count.
    Normalize(MergeAdd);
    return 1;
}

enum TextForm { FormRead, FormNoMemory, FormForeign };

// UTF-16 of units code units (big-endian when swap) as UTF-8. Foreign when a unit is 0 or a
// surrogate has no partner: such a text would not come back the same.
static int Utf16ToUtf8(const BYTE* bytes, size_t units, int swap, GrowArray<char>* text)
{
    GrowArray<wchar_t> wide;
    if (!wide.Resize((int)units + 1))
        return FormNoMemory;
    for (size_t i = 0; i < units; i++) {
        BYTE low = bytes[2 * i + (swap ? 1 : 0)], high = bytes[2 * i + (swap ? 0 : 1)];
        wide[(int)i] = (wchar_t)(low | (high << 8));
    }
    wide[(int)units] = 0;
    for (size_t i = 0; i < units; i++) {
        wchar_t unit = wide[(int)i];
        int leading = unit >= 0xD800 && unit <= 0xDBFF;
        int trailing = unit >= 0xDC00 && unit <= 0xDFFF;
        if (unit == 0 || trailing)
            return FormForeign;
        if (leading) {
            if (i + 1 >= units || wide[(int)i + 1] < 0xDC00 || wide[(int)i + 1] > 0xDFFF)
                return FormForeign;
            i++;
        }
    }
    const size_t bytesPerUnit = 3;
    if (!text->Resize((int)(units * bytesPerUnit + 1)))
        return FormNoMemory;
    size_t length = WideToUtf8(wide.Data(), text->Data(), (size_t)text->Count());
    text->Resize((int)length);  // smaller: cannot fail
    return FormRead;
}

// The file's bytes as UTF-8 text (not terminated), whatever form it came in.
static int DecodeText(const BYTE* bytes, size_t size, GrowArray<char>* text)
{
    const BYTE utf8Mark[] = {0xEF, 0xBB, 0xBF};
    text->Clear();
    if (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) ||
                      (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        if (size % 2 != 0)
            return FormForeign;
        return Utf16ToUtf8(bytes + 2, (size - 2) / 2, bytes[0] == 0xFE, text);
    }
    size_t skip = size >= 3 && memcmp(bytes, utf8Mark, 3) == 0 ? 3 : 0;
    bytes += skip;
    size -= skip;
    // UTF-16 without its mark, or no text at all.
    if (memchr(bytes, 0, size) != NULL)
        return FormForeign;
    if (skip != 0 || IsUtf8((const char*)bytes, size))
        return AppendBytes(text, (const char*)bytes, size) ? FormRead : FormNoMemory;
    // Written by an older version, in the ANSI code page.
    int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, (const char*)bytes, (int)size,
                                    NULL, 0);
    if (units <= 0)
        return FormForeign;
    GrowArray<BYTE> wide;
    if (!wide.Resize(units * (int)sizeof(wchar_t)))
        return FormNoMemory;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, (const char*)bytes, (int)size,
                            (wchar_t*)wide.Data(), units) != units)
        return FormForeign;
    return Utf16ToUtf8(wide.Data(), (size_t)units, 0, text);
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
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? HistoryReadDone
                                                                              : HistoryReadFailed;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file.Get(), &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return HistoryReadFailed;
    if (high != 0 || size > MAX_HISTORY_BYTES)
        return HistoryReadForeign;
    GrowArray<BYTE> bytes;
    DWORD got = 0;
    if (!bytes.Resize((int)size + 1) || !::ReadFile(file.Get(), bytes.Data(), size, &got, NULL) ||
        got != size)
        return HistoryReadFailed;
    file.Reset();
    GrowArray<char> text;
    int form = DecodeText(bytes.Data(), size, &text);
    bytes.Free();
    if (form == FormForeign) {
        SetLastError(ERROR_INVALID_DATA);
        return HistoryReadForeign;
    }
    if (form == FormNoMemory) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return HistoryReadFailed;
    }
    if (!ParseText(text.Data(), (size_t)text.Count(), skipped)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return HistoryReadFailed;
    }
    return HistoryReadDone;
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
    enum { HeaderChars = sizeof(UTF8_MARK) + sizeof(HISTORY_HEADER) + sizeof(HAND_OVER_FIELD) +
                         MAX_NUMBER_DIGITS + ISO_DATE_CHARS + 16 };
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
    unsigned __int64 size = HeaderChars + (unsigned __int64)Unread.Count() + 2 * UnreadCount;
    for (int i = 0; i < Records.Count(); i++)
        size += FixedChars + quoted[Records[i].Name].Length;
    if (size >= MAX_HISTORY_BYTES || !text->Resize((int)size))
        return 0;
    char* out = text->Data();
    // UTF-8 with its mark, which spreadsheets take as the sign of UTF-8.
    size_t used = (size_t)BoundedPrint(out, (size_t)size, "%s%s", UTF8_MARK, HISTORY_HEADER);
    if (HandOverId != 0) {
        char date[ISO_DATE_CHARS + 1];
        FormatIsoDate(HandOverDay, date, sizeof(date));
        used += BoundedPrint(out + used, (size_t)size - used, ",%s %I64u before %s",
                             HAND_OVER_FIELD, HandOverId, date);
    }
    used += BoundedPrint(out + used, (size_t)size - used, "\r\n");
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
    // The lines that could not be read, unchanged, after the records.
    for (int at = 0; at < Unread.Count();) {
        size_t length = strlen(Unread.Data() + at);
        memcpy(out + used, Unread.Data() + at, length);
        used += length;
        out[used++] = '\r';
        out[used++] = '\n';
        at += (int)length + 1;
    }
    out[used] = 0;
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

int SetAsideHistoryFile(const char* path, char* asidePath, size_t size, DWORD* error)
{
    size_t base = strlen(path);
    size_t extension = strlen(CSV_EXTENSION);
    if (base >= extension && _stricmp(path + base - extension, CSV_EXTENSION) == 0)
        base -= extension;
    *error = ERROR_FILE_EXISTS;
    for (int number = 1; number <= MAX_SET_ASIDE_NUMBER; number++) {
        char suffix[32];
        BoundedPrint(suffix, sizeof(suffix), SET_ASIDE_SUFFIX, number);
        if (base + strlen(suffix) + 1 > size) {
            *error = ERROR_FILENAME_EXCED_RANGE;
            return 0;
        }
        memcpy(asidePath, path, base);
        memcpy(asidePath + base, suffix, strlen(suffix) + 1);
        // Without MOVEFILE_REPLACE_EXISTING: a file of that name is never overwritten.
        if (MoveFileExW(WideText(path), WideText(asidePath), MOVEFILE_WRITE_THROUGH))
            return 1;
        *error = GetLastError();
        if (*error != ERROR_ALREADY_EXISTS && *error != ERROR_FILE_EXISTS)
            break;
    }
    asidePath[0] = 0;
    return 0;
}
