// A log file that gets one prefixed line at a time: opened, appended to and closed per line.
#ifndef BRISVANE_LOGCHANNEL_H
#define BRISVANE_LOGCHANNEL_H

#include <windows.h>

enum LogModes { LogEventLine = 0, LogCsvLine = 1 };

class LogChannel {
public:
    LogChannel(const char* path, int mode);
    // Appends the prefix and the formatted message. 1 when the whole line was written.
    int WriteLine(const char* format, ...);

    HANDLE File;
    const char* Path;  // owned by Settings, read at every line
    int Mode;
};

extern LogChannel EventLog;
extern LogChannel TrafficLog;

#endif
