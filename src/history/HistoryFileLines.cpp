// The history file's text read line by line: the header, the records in any of the
// separators and date forms a spreadsheet saves, and the lines kept that are neither.
#include "HistoryTable.h"

#include <string.h>

#include "AddHeld.h"
#include "DecimalText.h"
#include "HandOverNumber.h"
#include "HistoryCalendar.h"
#include "HistoryFileFormat.h"

#define MAX_FIELD_CHARS (2 * DESCRIPTION_CHARS + 8)
#define FIELD_COUNT 5

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
                ParseIsoDate(handOver + dateAt, ISO_DATE_CHARS, &day) &&
                HandOverAfter(id, table->HandOverId)) {
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
