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

#define HISTORY_SECTION "History"
#define FIGURE_KEY_CHARS (ISO_DATE_CHARS + MAC_TEXT_CHARS + 2)
#define FIGURE_VALUE_CHARS (2 * 20 + DESCRIPTION_CHARS + 4)

struct RunningDay {
    int Day;
    char Mac[MAC_TEXT_CHARS];
    char Description[DESCRIPTION_CHARS + 1];
    unsigned __int64 In;
    unsigned __int64 Out;
};

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
    // Takes the running figures from that section, in place of those in memory (at start).
    int ReadTodayFigures(const char* iniFile);

    // Whether figures of a day other than today wait for the history file.
    int HasFinishedDays(int today) const;
    // Moves the figures of every day other than today into the history file, which is read,
    // joined and written again as a whole. Done only when a day has finished, so the periodic
    // save does not grow with the history. 0 (figures kept, LastError set) when the file could
    // not be read or written.
    int FinishDays(int today, const char* historyPath);

    GrowArray<RunningDay> Running;
    DWORD FinishedVersion;  // counts the rewrites of the history file
    DWORD LastError;        // the error of the last failed history write, 0 after a success
    int Unsaved;            // figures changed since the INI file last got them
};

#endif
