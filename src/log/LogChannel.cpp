#include "LogChannel.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "OwnedHandle.h"
#include "Platform.h"
#include "Settings.h"

LogChannel EventLog(Settings.EventLogPath, LogEventLine);
LogChannel TrafficLog(Settings.TrafficLogPath, LogCsvLine);

#define PREFIX_CHARS 128
#define LOST_LINE_CHARS 160

LogChannel::LogChannel(const char* path, int mode)
    : File(INVALID_HANDLE_VALUE), Path(path), Mode(mode), Waiting(), First(0), Count(0),
      Lost(0), FailureSeen(0), FailureUntold(0), FailureError(NO_ERROR)
{
}

LogChannel::~LogChannel()
{
    ForgetWaiting();
}

void LogChannel::ForgetWaiting()
{
    while (Count > 0) {
        HeapFree(GetProcessHeap(), 0, Waiting[First].Text);
        First = (First + 1) % MAX_WAITING_LOG_LINES;
        Count--;
    }
    Lost = 0;
    FailureSeen = 0;
    FailureUntold = 0;
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
    if (line == NULL) {
        Lost++;  // said in the log with the next line that is written
        return 0;
    }
    memcpy(line, prefix, (size_t)prefixLength);
    va_start(arguments, format);
    _vsnprintf(line + prefixLength, (size_t)messageLength + 1, format, arguments);
    va_end(arguments);
    line[size - 1] = 0;
    // It queues behind the lines that wait, so that the file gets them in order.
    Keep(line, (DWORD)(size - 1));
    return WriteWaiting();
}

void LogChannel::DropOldest()
{
    HeapFree(GetProcessHeap(), 0, Waiting[First].Text);
    First = (First + 1) % MAX_WAITING_LOG_LINES;
    Count--;
    Lost++;
}

void LogChannel::Keep(char* text, DWORD length)
{
    if (Count == MAX_WAITING_LOG_LINES)
        DropOldest();
    WaitingLine& slot = Waiting[(First + Count) % MAX_WAITING_LOG_LINES];
    slot.Text = text;
    slot.Length = length;
    slot.Done = 0;
    Count++;
}

void LogChannel::NoteFailure(DWORD error)
{
    if (FailureSeen)
        return;
    FailureSeen = 1;
    FailureUntold = 1;
    FailureError = error;
}

int LogChannel::TakeFailureToTell(DWORD* error)
{
    if (!FailureUntold)
        return 0;
    FailureUntold = 0;
    *error = FailureError;
    return 1;
}

int LogChannel::WriteText(const char* text, DWORD length, DWORD* written)
{
    *written = 0;
    if (WriteFile(File, text, length, written, NULL) && *written == length)
        return 1;
    DWORD error = GetLastError();
    NoteFailure(error != NO_ERROR ? error : ERROR_DISK_FULL);
    return 0;
}

int LogChannel::WriteWaiting()
{
    if (Count == 0 && Lost == 0)
        return 1;
    if (Path == NULL)
        return 0;
    // Appending only: every write lands at the end, whoever else writes the file meanwhile.
    OwnedHandle file(CreateFileA(Path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file) {
        NoteFailure(GetLastError());
        return 0;
    }
    File = file.Get();
    int ok = 1;
    DWORD written;
    if (Lost != 0) {
        // Where the lost lines stood: before the oldest line that was kept.
        char prefix[PREFIX_CHARS];
        char text[PREFIX_CHARS + LOST_LINE_CHARS];
        FormatPrefix(Mode, prefix, sizeof(prefix));
        int length = _snprintf(text, sizeof(text),
                               "%s%u lines of this log were lost: its file could not be "
                               "written\r\n",
                               prefix, Lost);
        ok = length > 0 && length < (int)sizeof(text) && WriteText(text, (DWORD)length, &written);
        if (ok)
            Lost = 0;
    }
    while (ok && Count > 0) {
        WaitingLine& line = Waiting[First];
        ok = WriteText(line.Text + line.Done, line.Length - line.Done, &written);
        if (ok) {
            HeapFree(GetProcessHeap(), 0, line.Text);
            First = (First + 1) % MAX_WAITING_LOG_LINES;
            Count--;
        } else {
            line.Done += written;  // the rest follows when the disk has room again
        }
    }
    File = INVALID_HANDLE_VALUE;  // the file closes as it goes out of scope
    return ok;
}
