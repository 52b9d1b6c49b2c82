// The finished days of the usage history as the file Brisvane-history.csv holds them: one
// record per adapter and local day, read from and written to that CSV file.
#ifndef BRISVANE_HISTORYTABLE_H
#define BRISVANE_HISTORYTABLE_H

#include <windows.h>
#include <stddef.h>

#include "GrowArray.h"

#define HISTORY_FILE_NAME "Brisvane-history.csv"
#define HISTORY_HEADER "Date,MAC,Description,Bytes in,Bytes out"
#define MAC_TEXT_CHARS 24   // eight bytes as "00-11-...-77", terminated
// The longest adapter description kept: as long as the interface rows hold it.
#define DESCRIPTION_CHARS 256

// An adapter as a line names it: its MAC text and the description it had.
struct HistoryName {
    char Mac[MAC_TEXT_CHARS];
    char Description[DESCRIPTION_CHARS + 1];
};

struct HistoryRecord {
    int Day;   // HistoryCalendar day number
    int Name;  // index into the table's names
    unsigned __int64 In;
    unsigned __int64 Out;
};

// How a figure joins one already there for the same day and adapter.
enum HistoryMerge {
    MergeAdd,     // two parts of the day: both count
    MergeLarger,  // two readings of the same running day: the later, larger one stands
};

// The in-memory table (HistoryTable.cpp) and its CSV file (HistoryFile.cpp).
class HistoryTable {
public:
    HistoryTable() {}
    HistoryTable(const HistoryTable&) = delete;
    HistoryTable& operator=(const HistoryTable&) = delete;

    // Gives the memory back too.
    void Clear();
    // The index of the name, added when new; -1 when no memory is left.
    int NameIndex(const char* mac, const char* description);
    // Adds a day's figures. The table is put in order (Normalize) before it is searched.
    int Append(int day, const char* mac, const char* description, unsigned __int64 in,
               unsigned __int64 out);
    // Orders the records by day, then MAC text, and joins records of the same day and MAC.
    void Normalize(int merge);
    // The record of that day and MAC in a normalized table, or null.
    const HistoryRecord* Find(int day, const char* mac) const;
    // Joins one day's figures into a normalized table, which stays normalized.
    int Merge(int day, const char* mac, const char* description, unsigned __int64 in,
              unsigned __int64 out, int merge);

    // Reads the lines of a CSV text; lines that are no record (the header, garbage, a bad
    // date, MAC or number) are skipped and counted. Returns 0 only when memory ran out.
    int ParseText(const char* text, size_t length, int* skipped);
    // Reads the file; a missing file is an empty history. 0 when it exists but cannot be read.
    int ReadFile(const char* path, int* skipped);
    // The whole CSV text, terminated (not counted in the length); 0 when no memory is left.
    int FormatText(GrowArray<char>* text) const;
    // Writes the whole table in place of the file: a complete new file beside it, flushed,
    // then one rename. 0 with *error set when it fails; the old file is then left as it was.
    int WriteFile(const char* path, DWORD* error) const;

    GrowArray<HistoryName> Names;
    GrowArray<HistoryRecord> Records;
};

// Cleans a description for a history line: control characters become blanks.
void CleanDescription(const char* text, size_t length, char* buffer, size_t size);
// 1 when text is a MAC text: one to eight two-digit hexadecimal bytes joined by "-".
int IsMacText(const char* text, size_t length);
// The history file that belongs to an INI file: in the same folder, named HISTORY_FILE_NAME.
int HistoryPathFor(const char* iniPath, char* buffer, size_t size);

#endif
