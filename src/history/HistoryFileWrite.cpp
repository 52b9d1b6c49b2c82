// The history file written: the CSV text, its atomic replacement, where it lies, and how a
// file that cannot be read is set aside.
#include "HistoryTable.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "HistoryFileFormat.h"
#include "OwnedHandle.h"
#include "PathSplit.h"
#include "Utf8Text.h"

#define TEMPORARY_SUFFIX ".new"
#define UTF8_MARK "\xEF\xBB\xBF"
#define MAX_SET_ASIDE_NUMBER 9999
#define CSV_EXTENSION ".csv"

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
