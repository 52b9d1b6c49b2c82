#include "LogChannel.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "CodePageText.h"
#include "OwnedHandle.h"
#include "Platform.h"
#include "Settings.h"
#include "Utf8Text.h"

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
        Waiting[First].Text = GrowArray<char>();
        First = (First + 1) % MAX_WAITING_LOG_LINES;
        Count--;
    }
    Lost = 0;
    FailureSeen = 0;
    FailureUntold = 0;
}

#define UTF8_MARK "\xEF\xBB\xBF"
#define UTF8_MARK_BYTES 3

// The date (and for event lines the time and milliseconds) of one reading of the local time, in
// UTF-8. The date and time names follow the system's locale, whoever is logged on.
static int FormatPrefix(int mode, char* prefix, int size)
{
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    wchar_t wide[PREFIX_CHARS];
    int length = GetDateFormatW(LOCALE_SYSTEM_DEFAULT, 0, &now, L"dd'/'MMM'/'yyyy", wide,
                                PREFIX_CHARS);
    // A date that cannot be formatted is left out; the line still says what happened.
    length = length > 0 ? length - 1 : 0;
    wide[length] = 0;
    if (mode == LogEventLine) {
        int time = GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, 0, &now, L" HH':'mm':'ss",
                                  wide + length, PREFIX_CHARS - length);
        if (time > 0)
            length += time - 1;
        wide[length] = 0;
    }
    length = (int)WideToUtf8(wide, prefix, (size_t)size);
    if (mode != LogEventLine) {
        if (length + 1 < size) {
            prefix[length++] = ',';
            prefix[length] = 0;
        }
        return length;
    }
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
    GrowArray<char> line;
    if (size > MAXDWORD / 2 || !line.Resize((int)size)) {
        Lost++;  // said in the log with the next line that is written
        return 0;
    }
    memcpy(line.Data(), prefix, (size_t)prefixLength);
    va_start(arguments, format);
    _vsnprintf(line.Data() + prefixLength, (size_t)messageLength + 1, format, arguments);
    va_end(arguments);
    line[(int)size - 1] = 0;
    // It queues behind the lines that wait, so that the file gets them in order.
    Keep(line, (DWORD)(size - 1));
    return WriteWaiting();
}

void LogChannel::DropOldest()
{
    Waiting[First].Text = GrowArray<char>();
    First = (First + 1) % MAX_WAITING_LOG_LINES;
    Count--;
    Lost++;
}

void LogChannel::Keep(GrowArray<char>& text, DWORD length)
{
    if (Count == MAX_WAITING_LOG_LINES)
        DropOldest();
    WaitingLine& slot = Waiting[(First + Count) % MAX_WAITING_LOG_LINES];
    slot.Text = static_cast<GrowArray<char>&&>(text);
    slot.Length = length;
    slot.Done = 0;
    slot.DoneAnsi = 0;
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

// Writes a UTF-8 text in the file's form from *done on; *done counts the bytes of that form
// already written.
int LogChannel::WriteInForm(const char* text, DWORD length, int ansi, DWORD* done)
{
    GrowArray<char> converted;
    if (ansi) {
        int exact;
        int bytes = Utf8ToAnsi(text, length, &converted, &exact);
        if (bytes < 0) {
            NoteFailure(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        text = converted.Data();
        length = (DWORD)bytes;
    }
    if (*done > length)
        *done = 0;
    DWORD written;
    int ok = WriteText(text + *done, length - *done, &written);
    *done += written;
    return ok;
}

int LogChannel::WriteWaiting()
{
    if (Count == 0 && Lost == 0)
        return 1;
    if (Path == NULL)
        return 0;
    // Appending only: every write lands at the end, whoever else writes the file meanwhile.
    // Read too, for the form the file was begun in.
    OwnedHandle file(CreateFileW(WideText(Path), FILE_READ_DATA | FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file) {
        NoteFailure(GetLastError());
        return 0;
    }
    File = file.Get();
    int ok = 1;
    DWORD written;
    char mark[UTF8_MARK_BYTES];
    DWORD got = 0;
    BOOL read = ReadFile(File, mark, UTF8_MARK_BYTES, &got, NULL);
    int ansi = 0;
    if (read && got == 0)
        ok = WriteText(UTF8_MARK, UTF8_MARK_BYTES, &written);
    else
        ansi = !read || got < UTF8_MARK_BYTES || memcmp(mark, UTF8_MARK, UTF8_MARK_BYTES) != 0;
    if (ok && Lost != 0) {
        // Where the lost lines stood: before the oldest line that was kept.
        char prefix[PREFIX_CHARS];
        char text[PREFIX_CHARS + LOST_LINE_CHARS];
        FormatPrefix(Mode, prefix, sizeof(prefix));
        int length = _snprintf(text, sizeof(text),
                               "%s%u lines of this log were lost: its file could not be "
                               "written\r\n",
                               prefix, Lost);
        DWORD done = 0;
        ok = length > 0 && length < (int)sizeof(text) &&
             WriteInForm(text, (DWORD)length, ansi, &done);
        if (ok)
            Lost = 0;
    }
    while (ok && Count > 0) {
        WaitingLine& line = Waiting[First];
        if (line.DoneAnsi != ansi)
            line.Done = 0;  // begun in a file of another form, which is gone
        line.DoneAnsi = ansi;
        // The rest follows when the disk has room again.
        ok = WriteInForm(line.Text.Data(), line.Length, ansi, &line.Done);
        if (ok) {
            line.Text = GrowArray<char>();
            First = (First + 1) % MAX_WAITING_LOG_LINES;
            Count--;
        }
    }
    File = INVALID_HANDLE_VALUE;  // the file closes as it goes out of scope
    return ok;
}
