#include "LogChannel.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "Platform.h"
#include "Settings.h"

LogChannel EventLog(Settings.EventLogPath, LogEventLine);
LogChannel TrafficLog(Settings.TrafficLogPath, LogCsvLine);

#define PREFIX_CHARS 128

LogChannel::LogChannel(const char* path, int mode)
    : File(INVALID_HANDLE_VALUE), Path(path), Mode(mode)
{
}

// The date (and for event lines the time and milliseconds) of one reading of the local time.
// The date and time names follow the system's locale, whoever is logged on.
static int FormatPrefix(int mode, char* prefix, int size)
{
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int length = GetDateFormatA(LOCALE_SYSTEM_DEFAULT, 0, &now, "dd'/'MMM'/'yyyy", prefix, size);
    // A date that cannot be formatted is left out; the line still says what happened.
    length = length > 0 ? length - 1 : 0;
    prefix[length] = 0;
    if (mode != LogEventLine) {
        prefix[length++] = ',';
        prefix[length] = 0;
        return length;
    }
    int time = GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, 0, &now, " HH':'mm':'ss", prefix + length,
                              size - length);
    if (time <= 0) {
        prefix[length] = 0;
        return length;
    }
    length += time - 1;
    int milliseconds =
        _snprintf(prefix + length, size - length, ".%03d ", (int)now.wMilliseconds);
    if (milliseconds < 0 || milliseconds >= size - length)
        milliseconds = 0;
    length += milliseconds;
    prefix[length] = 0;
    return length;
}

int LogChannel::WriteLine(const char* format, ...)
{
    if (Mode == LogEventLine && !Settings.EnableLog)
        return 0;
    if (Path == NULL || format == NULL)
        return 0;

    char prefix[PREFIX_CHARS];
    int prefixLength = FormatPrefix(Mode, prefix, sizeof(prefix));

    va_list arguments;
    va_start(arguments, format);
    int messageLength = _vscprintf(format, arguments);
    va_end(arguments);
    if (messageLength < 0)
        return 0;

    // The whole line in one buffer, however long the message, so it is written in one piece.
    size_t size = (size_t)prefixLength + (size_t)messageLength + 1;
    char* line = (char*)HeapAlloc(GetProcessHeap(), 0, size);
    if (line == NULL)
        return 0;
    memcpy(line, prefix, (size_t)prefixLength);
    va_start(arguments, format);
    _vsnprintf(line + prefixLength, (size_t)messageLength + 1, format, arguments);
    va_end(arguments);
    line[size - 1] = 0;
    DWORD lineLength = (DWORD)(size - 1);

    int result = 0;
    File = CreateFileA(Path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (File != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        LARGE_INTEGER end = {};
        if (SetFilePointerEx(File, end, NULL, FILE_END) &&
            WriteFile(File, line, lineLength, &written, NULL))
            result = written == lineLength;
        CloseHandle(File);
        File = INVALID_HANDLE_VALUE;
    }
    HeapFree(GetProcessHeap(), 0, line);
    return result;
}
