// The finished days of the usage history as the file Brisvane-history.csv holds them: one
// record per adapter and local day, read from and written to that CSV file.
#ifndef BRISVANE_HISTORYTABLE_H
#define BRISVANE_HISTORYTABLE_H

#include <windows.h>
#include <stddef.h>

#include <functional>

#include "GrowArray.h"

#define HISTORY_FILE_NAME "Brisvane-history.csv"
#define HISTORY_HEADER "Date,MAC,Description,Bytes in,Bytes out"
// The header's sixth field names the last hand-over of running figures the file took in:
// "Hand-over 17 before 2026-12-08" (it took every running day before the 8th).
#define HAND_OVER_FIELD "Hand-over"
// A file in a form the reader cannot read is renamed to this, with the first free number.
#define SET_ASIDE_SUFFIX "-unreadable-%d.csv"
// An adapter's name: eight bytes as "00-11-...-77", or "IF-" and a LUID in hex, terminated.
#define MAC_TEXT_CHARS 24
// The longest adapter description kept: as long as the interface rows hold it.
#define DESCRIPTION_CHARS 256

// Which adapters, by the names the history gives them, a sum of all adapters takes; an empty
// filter takes every one.
typedef std::function<bool(const char* name)> NameFilter;

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

// How a history file was read.
enum HistoryRead {
    HistoryReadFailed = 0,   // it is there but could not be opened or read, or memory ran out
    HistoryReadDone = 1,     // read (or there is none yet)
    HistoryReadForeign = 2,  // read, but in a form this reader cannot take: left as it is
};

// The in-memory table (HistoryTable.cpp) and its CSV file (the HistoryFile*.cpp files).
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

    // Reads the lines of a UTF-8 CSV text. A line that is no record and not empty (garbage, a
    // bad date, name or number) is kept unchanged in Unread and counted. 0 only when memory
    // ran out.
    int ParseText(const char* text, size_t length, int* skipped);
    // Reads the file: UTF-8 with or without its byte-order mark, UTF-16 with one, or text of
    // the ANSI code page; a missing file is an empty history. See HistoryRead.
    int ReadFile(const char* path, int* skipped);
    // The whole CSV text, terminated (not counted in the length); 0 when no memory is left.
    int FormatText(GrowArray<char>* text) const;
    // Writes the whole table in place of the file: a complete new file beside it, flushed,
    // then one rename. 0 with *error set when it fails; the old file is then left as it was.
    int WriteFile(const char* path, DWORD* error) const;

    GrowArray<HistoryName> Names;
    GrowArray<HistoryRecord> Records;
    // The lines read but not understood, each terminated, in the order found; written back
    // after the records, so that no line is ever lost.
    GrowArray<char> Unread;
    int UnreadCount = 0;
    // The last hand-over of running figures the file holds (0: none), and the day before
    // which it took every running day.
    unsigned __int64 HandOverId = 0;
    int HandOverDay = 0;
};

// Cleans a description for a history line: control characters become blanks.
void CleanDescription(const char* text, size_t length, char* buffer, size_t size);
// 1 when text is a MAC text: one to eight two-digit hexadecimal bytes joined by "-".
int IsMacText(const char* text, size_t length);
// The one naming rule of adapters in the history, read and written alike: a MAC text, "IF-"
// and sixteen hexadecimal digits, or "IF-INDEX-" and a decimal index; in any letter case.
int IsAdapterName(const char* text, size_t length);
// An adapter name as the program writes it (capital letters), terminated; 0 when it is none.
int NormalAdapterName(const char* text, size_t length, char* buffer, size_t size);
// Renames the history file that cannot be read to the first free name of SET_ASIDE_SUFFIX
// beside it; never over another file. 0 with *error set when that failed.
int SetAsideHistoryFile(const char* path, char* asidePath, size_t size, DWORD* error);
// The history file that belongs to an INI file: in the same folder, named HISTORY_FILE_NAME.
int HistoryPathFor(const char* iniPath, char* buffer, size_t size);

#endif
