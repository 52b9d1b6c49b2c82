#include "UsageHistory.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "DecimalText.h"
#include "Utf8Text.h"

#define FIRST_SECTION_CHARS 4096
#define MAX_SECTION_CHARS (4UL * 1024 * 1024)

UsageHistory::UsageHistory() : FinishedVersion(0), LastError(0), Unsaved(0) {}

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

// One "2026-12-07 00-1A-2B-3C-4D-5E=in,out,description" line of the section.
static void ReadFigureLine(UsageHistory* history, const char* line)
{
    const char* equals = strchr(line, '=');
    if (equals == NULL)
        return;
    size_t keyLength = (size_t)(equals - line);
    while (keyLength > 0 && line[keyLength - 1] == ' ')
        keyLength--;
    int day;
    if (keyLength < ISO_DATE_CHARS + 2 || line[ISO_DATE_CHARS] != ' ' ||
        !ParseIsoDate(line, ISO_DATE_CHARS, &day))
        return;
    const char* mac = line + ISO_DATE_CHARS + 1;
    size_t macLength = keyLength - ISO_DATE_CHARS - 1;
    if (!IsMacText(mac, macLength))
        return;
    char macText[MAC_TEXT_CHARS];
    memcpy(macText, mac, macLength);
    macText[macLength] = 0;
    const char* value = equals + 1;
    while (*value == ' ')
        value++;
    unsigned __int64 in, out;
    if (!ReadNumber(&value, &in) || *value++ != ',' || !ReadNumber(&value, &out) ||
        (*value != ',' && *value != 0))
        return;
    const char* description = *value == ',' ? value + 1 : "";
    char clean[DESCRIPTION_CHARS + 1];
    CleanDescription(description, strlen(description), clean, sizeof(clean));
    history->Add(day, macText, clean, in, out);
}

int UsageHistory::ReadTodayFigures(const char* iniFile)
{
    Running.Clear();
    if (iniFile == NULL || iniFile[0] == 0)
        return 1;
    GrowArray<wchar_t> text;
    DWORD size = FIRST_SECTION_CHARS;
    for (;;) {
        if (!text.Resize((int)size))
            return 0;
        DWORD got = GetPrivateProfileSectionW(WideText(HISTORY_SECTION), text.Data(), size,
                                              WideText(iniFile));
        if (got + 2 < size || size >= MAX_SECTION_CHARS)
            break;
        size *= 2;
    }
    text[(int)size - 1] = 0;
    text[(int)size - 2] = 0;
    // Keys and figures are ASCII; a description may be anything, and is UTF-8 inside.
    GrowArray<char> line;
    for (const wchar_t* wide = text.Data(); *wide != 0; wide += wcslen(wide) + 1) {
        size_t units = wcslen(wide);
        if (!line.Resize((int)(units * 3 + 1)))
            return 0;
        WideToUtf8(wide, line.Data(), (size_t)line.Count());
        ReadFigureLine(this, line.Data());
    }
    Unsaved = 0;
    return 1;
}

int UsageHistory::HasFinishedDays(int today) const
{
    for (const RunningDay& entry : Running)
        if (entry.Day != today)
            return 1;
    return 0;
}

int UsageHistory::FinishDays(int today, const char* historyPath)
{
    if (!HasFinishedDays(today))
        return 1;
    HistoryTable table;
    int skipped = 0;
    // A file that is there but cannot be read is never replaced: its days would be lost.
    if (!table.ReadFile(historyPath, &skipped)) {
        LastError = GetLastError() != 0 ? GetLastError() : ERROR_READ_FAULT;
        return 0;
    }
    for (const RunningDay& entry : Running) {
        // The file may hold this day already when the program ended between writing the
        // file and the INI file: the larger reading of the same day stands.
        if (entry.Day != today &&
            !table.Merge(entry.Day, entry.Mac, entry.Description, entry.In, entry.Out,
                         MergeLarger)) {
            LastError = ERROR_NOT_ENOUGH_MEMORY;
            return 0;
        }
    }
    DWORD error = 0;
    if (!table.WriteFile(historyPath, &error)) {
        LastError = error != 0 ? error : ERROR_WRITE_FAULT;
        return 0;
    }
    int kept = 0;
    for (int i = 0; i < Running.Count(); i++)
        if (Running[i].Day == today)
            Running[kept++] = Running[i];
    Running.Resize(kept);
    FinishedVersion++;
    Unsaved = 1;  // the INI file still holds the finished days
    LastError = 0;
    return 1;
}
