// The usage history while the program runs: the bytes each adapter counted on each day not yet
// in the history file (normally just today), kept in memory by the poll cycle, written with the
// periodic INI save (as the lines FigureLine makes), and moved into the history file when
// their day has finished.
#ifndef BRISVANE_USAGEHISTORY_H
#define BRISVANE_USAGEHISTORY_H

#include <windows.h>
#include <stddef.h>

#include "GrowArray.h"
#include "HistoryCalendar.h"
#include "HistoryTable.h"
#include "PathSplit.h"

#define HISTORY_SECTION "History"
// The key of that section naming the last hand-over of running days to the history file.
#define HAND_OVER_KEY "HandOver"
#define FIGURE_KEY_CHARS (ISO_DATE_CHARS + MAC_TEXT_CHARS + 2)
#define FIGURE_VALUE_CHARS (2 * 20 + DESCRIPTION_CHARS + 4)

struct RunningDay {
    int Day;
    char Mac[MAC_TEXT_CHARS];
    char Description[DESCRIPTION_CHARS + 1];
    unsigned __int64 In;
    unsigned __int64 Out;
};

// How the running days reach the history file, once each: the file is written first, its
// header naming the hand-over (the id after the last, HandOverNumber) and the day before which
// it took every running day; then the INI file, whose section names the same id and no longer
// holds those days. Found at start with an id after its own, the file has taken those of the
// days the INI file still holds that it holds itself (the program ended between the two
// writes): they go, and are not counted twice.
class UsageHistory {
public:
    UsageHistory();
    UsageHistory(const UsageHistory&) = delete;
    UsageHistory& operator=(const UsageHistory&) = delete;

    // Adds what one sample of the adapter counted to its figures of that day. Touches no file.
    int Add(int day, const char* mac, const char* description, unsigned __int64 in,
            unsigned __int64 out);

    // The running figure at index as a line of the section "History" of the INI file:
    // "2026-12-07 00-1A-2B-3C-4D-5E" = "in,out,description".
    void FigureLine(int index, char* key, size_t keySize, char* value, size_t valueSize) const;
    // Reading the section at start: Clear, then every "key=value" line of every section of
    // that name, in the file's order. Figures of one day and adapter are added together; a
    // line that is none is kept (KeptLines) to be written back as it was.
    void ClearFigures();
    int ReadFigureLine(const char* line);
    // Drops the running days the history file (read, so normalized) took by a hand-over the
    // INI file had not seen: those before its day that the file holds a line of.
    void SettleHandOver(const HistoryTable& file);
    // The same with the hand-over named by the file at historyPath. 0 when it cannot be read.
    int SettleWithFile(const char* historyPath);

    // Whether figures of a day before today wait for the history file. A day after today (the
    // clock was set back) goes on running until it has passed.
    int HasFinishedDays(int today) const;
    // Moves the figures of every day before today into the history file, which is read,
    // joined and written again as a whole; a day the file holds already adds to it. Done only
    // when a day has finished, so the periodic save does not grow with the history. 0
    // (figures kept, LastError set) when the file could not be read or written. A file in a
    // form the reader cannot read is set aside whole (SetAsidePath) and a new one begun.
    int FinishDays(int today, const char* historyPath);

    GrowArray<RunningDay> Running;
    unsigned __int64 HandOver;  // the last hand-over to the history file, 0 before the first
    GrowArray<char> KeptLines;  // lines of the section that are no figures, each terminated
    DWORD FinishedVersion;  // counts the rewrites of the history file
    DWORD LastError;        // the error of the last failed history write, 0 after a success
    int Unsaved;            // figures changed since the INI file last got them
    char SetAsidePath[PATH_CHARS];  // where the last unreadable history file was put, or empty
};

#endif
