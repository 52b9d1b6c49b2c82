// The usage history while the program runs: the bytes each adapter counted on each day not yet
// in the history file (normally just today), kept in memory by the poll cycle, written with the
// periodic INI save, and moved into the history file when their day has finished.
#ifndef BRISVANE_USAGEHISTORY_H
#define BRISVANE_USAGEHISTORY_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>

#include "HistoryTable.h"
#include "IniDocument.h"

#define HISTORY_SECTION "History"

struct RunningDay {
    int Day;
    char Mac[MAC_TEXT_CHARS];
    char Description[MAX_DESCR + 1];
    unsigned __int64 In;
    unsigned __int64 Out;
};

class UsageHistory {
public:
    UsageHistory();
    ~UsageHistory();

    // Adds what one sample of the adapter counted to its figures of that day. Touches no file.
    int AddSample(int day, const MIB_IFROW* row, unsigned __int64 in, unsigned __int64 out);
    // The same for an adapter named otherwise than by its hardware address (one without).
    int AddSample(int day, const char* name, const MIB_IFROW* row, unsigned __int64 in,
                  unsigned __int64 out);
    int Add(int day, const char* mac, const char* description, unsigned __int64 in,
            unsigned __int64 out);

    // Writes the running figures into the section "History" of the given INI file, in place of
    // what the section held. 0 when a write failed.
    int WriteTodayFigures(const char* iniFile);
    // The same into a document of the INI file that the save of every adapter writes.
    int WriteTodayFigures(IniDocument& document);
    // Takes the running figures from that section, in place of those in memory (at start).
    int ReadTodayFigures(const char* iniFile);

    // Whether figures of a day other than today wait for the history file.
    int HasFinishedDays(int today) const;
    // Moves the figures of every day other than today into the history file, which is read,
    // joined and written again as a whole. Done only when a day has finished, so the periodic
    // save does not grow with the history. 0 (figures kept, LastError set) when the file could
    // not be read or written.
    int FinishDays(int today, const char* historyPath);

    RunningDay* Running;
    int RunningCount;
    DWORD FinishedVersion;  // counts the rewrites of the history file
    DWORD LastError;        // the error of the last failed history write, 0 after a success
    int Unsaved;            // figures changed since the INI file last got them

private:
    int RunningRoom;
    UsageHistory(const UsageHistory&);
    UsageHistory& operator=(const UsageHistory&);
};

#endif
