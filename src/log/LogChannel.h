// A log file that gets one prefixed line at a time: opened for appending, written and closed
// per line. Others may read and write the file meanwhile. A line that cannot be written (the
// file is held without sharing, the disk is full) waits in memory and is written, in order,
// before the next line; the oldest go first when too many wait, and the log then says how
// many were lost.
// Lines are UTF-8: a new file starts with UTF-8's byte-order mark. A file without the mark was
// begun by an older version in the ANSI code page and goes on in it, so that it stays one
// readable text (a character that code page lacks stands as its default character there).
#ifndef BRISVANE_LOGCHANNEL_H
#define BRISVANE_LOGCHANNEL_H

#include <windows.h>

#include "GrowArray.h"

enum LogModes { LogEventLine = 0, LogCsvLine = 1 };

// Lines that wait for their file at most; beyond, the oldest are given up.
#define MAX_WAITING_LOG_LINES 1000

class LogChannel {
public:
    LogChannel(const char* path, int mode);
    ~LogChannel();
    // Appends the prefix and the formatted message, after the lines that wait. 1 when the line
    // is in the file; 0 when it waits (or the event log is off, or it could not be made).
    int WriteLine(const char* format, ...);
    // Writes the lines that wait, if any. 1 when none waits any more.
    int WriteWaiting();
    int WaitingCount() const { return Count; }
    // Gives up the lines that wait and starts a new run's failure report (tests start each
    // case as a new run).
    void ForgetWaiting();

    // The first failure of the run, once: 1 with the platform's error code, then 0 for good.
    // The log layer cannot tell the user; the program above it asks.
    int TakeFailureToTell(DWORD* error);

    HANDLE File;
    const char* Path;  // owned by Settings, read at every line
    int Mode;

private:
    struct WaitingLine {
        GrowArray<char> Text;  // UTF-8, terminated
        DWORD Length;
        DWORD Done;  // bytes already in the file (a write cut short by a full disk)
        int DoneAnsi;  // the form those bytes took
    };
    void Keep(GrowArray<char>& text, DWORD length);
    void DropOldest();
    int WriteText(const char* text, DWORD length, DWORD* written);
    int WriteInForm(const char* text, DWORD length, int ansi, DWORD* done);
    void NoteFailure(DWORD error);

    WaitingLine Waiting[MAX_WAITING_LOG_LINES];  // a ring, oldest at First
    int First;
    int Count;
    unsigned Lost;  // given up since the file was last written
    int FailureSeen;
    int FailureUntold;
    DWORD FailureError;

    LogChannel(const LogChannel&);
    LogChannel& operator=(const LogChannel&);
};

extern LogChannel EventLog;
extern LogChannel TrafficLog;

#endif
