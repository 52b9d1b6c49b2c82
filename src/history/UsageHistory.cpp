#include "UsageHistory.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "DecimalText.h"
#include "HandOverNumber.h"
#include "Utf8Text.h"

UsageHistory::UsageHistory()
    : HandOver(0), FinishedVersion(0), LastError(0), Unsaved(0)
{
    SetAsidePath[0] = 0;
}
int UsageHistory::Add(int day, const char* mac, const char* description, unsigned __int64 in,
                      unsigned __int64 out)
{
    RunningDay* entry = NULL;
    for (RunningDay& running : Running) {
        if (running.Day == day && strcmp(running.Mac, mac) == 0) {
            entry = &running;
            break;
        }
    }
    if (entry == NULL) {
        entry = Running.AppendZeroed();
        if (entry == NULL)
            return 0;
        entry->Day = day;
        CopyText(entry->Mac, sizeof(entry->Mac), mac);
    }
    if (strcmp(entry->Description, description) != 0)
        CopyText(entry->Description, sizeof(entry->Description), description);
    entry->In = AddHeld(entry->In, in);
    entry->Out = AddHeld(entry->Out, out);
    Unsaved = 1;
    return 1;
}

void UsageHistory::FigureLine(int index, char* key, size_t keySize, char* value,
                              size_t valueSize) const
{
    const RunningDay& entry = Running[index];
    char date[ISO_DATE_CHARS + 1];
    FormatIsoDate(entry.Day, date, sizeof(date));
    BoundedPrint(key, keySize, "%s %s", date, entry.Mac);
    BoundedPrint(value, valueSize, "%I64u,%I64u,%s", entry.In, entry.Out, entry.Description);
}

static int ReadNumber(const char** text, unsigned __int64* value)
{
    size_t digits;
    if (ReadDecimal(*text, NO_LENGTH_LIMIT, MAX_BYTE_COUNT, value, &digits) != DecimalRead)
        return 0;
    *text += digits;
    return 1;
}

// The key's length without the blanks before "=".
static size_t KeyLength(const char* line, const char* equals)
{
    size_t length = (size_t)(equals - line);
    while (length > 0 && line[length - 1] == ' ')
        length--;
    return length;
}

// "HandOver=17".
static int ReadHandOverLine(UsageHistory* history, const char* line)
{
    const char* equals = strchr(line, '=');
    if (equals == NULL || KeyLength(line, equals) != strlen(HAND_OVER_KEY) ||
        _strnicmp(line, HAND_OVER_KEY, strlen(HAND_OVER_KEY)) != 0)
        return 0;
    const char* value = equals + 1;
    while (*value == ' ')
        value++;
    unsigned __int64 id;
    if (!ReadNumber(&value, &id) || *value != 0)
        return 0;
    // Two sections may name two: the later hand-over stands.
    if (HandOverAfter(id, history->HandOver))
        history->HandOver = id;
    return 1;
}

// One "2026-12-07 00-1A-2B-3C-4D-5E=in,out,description" line of the section.
static int ReadFigure(UsageHistory* history, const char* line)
{
    const char* equals = strchr(line, '=');
    if (equals == NULL)
        return 0;
    size_t keyLength = KeyLength(line, equals);
    int day;
    if (keyLength < ISO_DATE_CHARS + 2 || line[ISO_DATE_CHARS] != ' ' ||
        !ParseIsoDate(line, ISO_DATE_CHARS, &day))
        return 0;
    char name[MAC_TEXT_CHARS];
    if (!NormalAdapterName(line + ISO_DATE_CHARS + 1, keyLength - ISO_DATE_CHARS - 1, name,
                           sizeof(name)))
        return 0;
    const char* value = equals + 1;
    while (*value == ' ')
        value++;
    unsigned __int64 in, out;
    if (!ReadNumber(&value, &in) || *value++ != ',' || !ReadNumber(&value, &out) ||
        (*value != ',' && *value != 0))
        return 0;
    const char* description = *value == ',' ? value + 1 : "";
    if (strlen(description) > DESCRIPTION_CHARS)
        return 0;
    char clean[DESCRIPTION_CHARS + 1];
    CleanDescription(description, strlen(description), clean, sizeof(clean));
    return history->Add(day, name, clean, in, out);
}

void UsageHistory::ClearFigures()
{
    Running.Clear();
    KeptLines.Clear();
    HandOver = 0;
    Unsaved = 0;
}

int UsageHistory::ReadFigureLine(const char* line)
{
    if (ReadHandOverLine(this, line) || ReadFigure(this, line))
        return 1;
    // Kept as it was, to go back into the section at the next save.
    int count = KeptLines.Count();
    size_t length = strlen(line) + 1;
    if (!KeptLines.Resize(count + (int)length))
        return 0;
    memcpy(KeptLines.Data() + count, line, length);
    return 1;
}

void UsageHistory::SettleHandOver(const HistoryTable& file)
{
    if (!HandOverAfter(file.HandOverId, HandOver))
        return;
    // The file took these days, but the INI file was not written after it. A day it does not
    // hold was not taken, whatever day its header names (the clock may have run ahead then).
    int kept = 0;
    for (int i = 0; i < Running.Count(); i++) {
        const RunningDay& entry = Running[i];
        if (entry.Day >= file.HandOverDay || file.Find(entry.Day, entry.Mac) == NULL)
            Running[kept++] = entry;
    }
    Running.Resize(kept);
    HandOver = file.HandOverId;
    Unsaved = 1;
}

int UsageHistory::SettleWithFile(const char* historyPath)
{
    HistoryTable table;
    int skipped;
    if (table.ReadFile(historyPath, &skipped) != HistoryReadDone)
        return 0;
    SettleHandOver(table);
    return 1;
}

int UsageHistory::HasFinishedDays(int today) const
{
    for (const RunningDay& entry : Running)
        if (entry.Day < today)
            return 1;
    return 0;
}

int UsageHistory::FinishDays(int today, const char* historyPath)
{
    if (!HasFinishedDays(today))
        return 1;
    HistoryTable table;
    int skipped = 0;
    int read = table.ReadFile(historyPath, &skipped);
    // A file that is there but cannot be read now is never replaced: its days would be lost.
    if (read == HistoryReadFailed) {
        LastError = GetLastError() != 0 ? GetLastError() : ERROR_READ_FAULT;
        return 0;
    }
    // One in a form this reader cannot take is kept whole beside the new one.
    if (read == HistoryReadForeign) {
        DWORD error = 0;
        if (!SetAsideHistoryFile(historyPath, SetAsidePath, sizeof(SetAsidePath), &error)) {
            LastError = error != 0 ? error : ERROR_WRITE_FAULT;
            return 0;
        }
        table.Clear();
    }
    SettleHandOver(table);
    for (const RunningDay& entry : Running) {
        // A day the file holds already was found again (the clock set back): both count.
        if (entry.Day < today &&
            !table.Merge(entry.Day, entry.Mac, entry.Description, entry.In, entry.Out,
                         MergeAdd)) {
            LastError = ERROR_NOT_ENOUGH_MEMORY;
            return 0;
        }
    }
    table.HandOverId = NextHandOver(HandOver);
    table.HandOverDay = today;
    DWORD error = 0;
    if (!table.WriteFile(historyPath, &error)) {
        LastError = error != 0 ? error : ERROR_WRITE_FAULT;
        return 0;
    }
    HandOver = table.HandOverId;
    int kept = 0;
    for (int i = 0; i < Running.Count(); i++)
        if (Running[i].Day >= today)
            Running[kept++] = Running[i];
    Running.Resize(kept);
    FinishedVersion++;
    Unsaved = 1;  // the INI file still holds the finished days
    LastError = 0;
    return 1;
}
