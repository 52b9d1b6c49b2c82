#include "UsageHistory.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"

#define FIRST_RUNNING_ROOM 8
#define FIRST_SECTION_CHARS 4096
#define MAX_SECTION_CHARS (4UL * 1024 * 1024)
#define KEY_CHARS (ISO_DATE_CHARS + MAC_TEXT_CHARS + 2)
#define VALUE_CHARS (2 * 20 + MAX_DESCR + 4)
#define MAX_U64 0xFFFFFFFFFFFFFFFFULL

UsageHistory::UsageHistory()
    : Running(NULL), RunningCount(0), FinishedVersion(0), LastError(0), Unsaved(0),
      RunningRoom(0)
{
}

UsageHistory::~UsageHistory()
{
    if (Running != NULL)
        HeapFree(GetProcessHeap(), 0, Running);
}

static unsigned __int64 AddHeld(unsigned __int64 a, unsigned __int64 b)
{
    return a > MAX_U64 - b ? MAX_U64 : a + b;
}

int UsageHistory::Add(int day, const char* mac, const char* description, unsigned __int64 in,
                      unsigned __int64 out)
{
    RunningDay* entry = NULL;
    for (int i = 0; i < RunningCount; i++) {
        if (Running[i].Day == day && strcmp(Running[i].Mac, mac) == 0) {
            entry = &Running[i];
            break;
        }
    }
    if (entry == NULL) {
        if (RunningCount == RunningRoom) {
            int room = RunningRoom == 0 ? FIRST_RUNNING_ROOM : RunningRoom * 2;
            void* grown =
                Running == NULL
                    ? HeapAlloc(GetProcessHeap(), 0, (size_t)room * sizeof(RunningDay))
                    : HeapReAlloc(GetProcessHeap(), 0, Running, (size_t)room * sizeof(RunningDay));
            if (grown == NULL)
                return 0;
            Running = (RunningDay*)grown;
            RunningRoom = room;
        }
        entry = &Running[RunningCount++];
        entry->Day = day;
        CopyText(entry->Mac, sizeof(entry->Mac), mac);
        entry->Description[0] = 0;
        entry->In = 0;
        entry->Out = 0;
    }
    if (strcmp(entry->Description, description) != 0)
        CopyText(entry->Description, sizeof(entry->Description), description);
    entry->In = AddHeld(entry->In, in);
    entry->Out = AddHeld(entry->Out, out);
    Unsaved = 1;
    return 1;
}

int UsageHistory::AddSample(int day, const MIB_IFROW* row, unsigned __int64 in,
                            unsigned __int64 out)
{
    char mac[SHORT_TEXT];
    FormatMacText(row->bPhysAddr, PhysAddrLength(row), mac, sizeof(mac));
    return AddSample(day, mac, row, in, out);
}

int UsageHistory::AddSample(int day, const char* name, const MIB_IFROW* row,
                            unsigned __int64 in, unsigned __int64 out)
{
    char description[MAX_DESCR + 1];
    CleanDescription((const char*)row->bDescr, DescrLength(row), description,
                     sizeof(description));
    return Add(day, name, description, in, out);
}

int UsageHistory::WriteTodayFigures(IniDocument& document)
{
    // The section is written whole: figures of days that went into the history file go.
    document.RemoveSection(HISTORY_SECTION);
    int ok = 1;
    for (int i = 0; i < RunningCount; i++) {
        const RunningDay& entry = Running[i];
        char key[KEY_CHARS];
        char date[ISO_DATE_CHARS + 1];
        FormatIsoDate(entry.Day, date, sizeof(date));
        BoundedPrint(key, sizeof(key), "%s %s", date, entry.Mac);
        char value[VALUE_CHARS];
        BoundedPrint(value, sizeof(value), "%I64u,%I64u,%s", entry.In, entry.Out,
                     entry.Description);
        if (!document.Set(HISTORY_SECTION, key, value))
            ok = 0;
    }
    return ok;
}

int UsageHistory::WriteTodayFigures(const char* iniFile)
{
    if (iniFile == NULL || iniFile[0] == 0)
        return 0;
    IniDocument document;
    DWORD error;
    return document.Read(iniFile) && WriteTodayFigures(document) &&
           document.WriteReplacing(iniFile, &error);
}

static int ReadNumber(const char** text, unsigned __int64* value)
{
    const char* at = *text;
    unsigned __int64 number = 0;
    if (*at < '0' || *at > '9')
        return 0;
    for (; *at >= '0' && *at <= '9'; at++) {
        unsigned digit = (unsigned)(*at - '0');
        if (number > (MAX_U64 - digit) / 10)
            return 0;
        number = number * 10 + digit;
    }
    *value = number;
    *text = at;
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
    char clean[MAX_DESCR + 1];
    CleanDescription(description, strlen(description), clean, sizeof(clean));
    history->Add(day, macText, clean, in, out);
}

int UsageHistory::ReadTodayFigures(const char* iniFile)
{
    RunningCount = 0;
    if (iniFile == NULL || iniFile[0] == 0)
        return 1;
    DWORD size = FIRST_SECTION_CHARS;
    char* text = NULL;
    for (;;) {
        text = (char*)HeapAlloc(GetProcessHeap(), 0, size);
        if (text == NULL)
            return 0;
        DWORD got = GetPrivateProfileSectionA(HISTORY_SECTION, text, size, iniFile);
        if (got + 2 < size || size >= MAX_SECTION_CHARS)
            break;
        HeapFree(GetProcessHeap(), 0, text);
        size *= 2;
    }
    text[size - 1] = 0;
    text[size - 2] = 0;
    for (const char* line = text; *line != 0; line += strlen(line) + 1)
        ReadFigureLine(this, line);
    HeapFree(GetProcessHeap(), 0, text);
    Unsaved = 0;
    return 1;
}

int UsageHistory::HasFinishedDays(int today) const
{
    for (int i = 0; i < RunningCount; i++)
        if (Running[i].Day != today)
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
    for (int i = 0; i < RunningCount; i++) {
        const RunningDay& entry = Running[i];
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
    for (int i = 0; i < RunningCount; i++)
        if (Running[i].Day == today)
            Running[kept++] = Running[i];
    RunningCount = kept;
    FinishedVersion++;
    Unsaved = 1;  // the INI file still holds the finished days
    LastError = 0;
    return 1;
}
