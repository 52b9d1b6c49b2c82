// "Start with Windows": the value "Brisvane" under the user's Run key, holding the quoted path
// of the program followed by /s, so that it starts in the tray. The installer writes the very
// same value, so either can undo what the other did.
#ifndef BRISVANE_STARTWITHWINDOWS_H
#define BRISVANE_STARTWITHWINDOWS_H

#include <windows.h>
#include <stddef.h>

#define RUN_VALUE_NAME "Brisvane"
#define RUN_KEY_PATH "Software\\Microsoft\\Windows\\CurrentVersion\\Run"

// Where the value lives. The program uses the user's Run key; tests point it at a key of
// their own, so they never touch the real one.
struct RunKeyLocation {
    HKEY Root;
    const char* Path;
};
extern RunKeyLocation RunKey;

// The command the value holds for a program path: the quoted path, a blank and /s. 0 (and an
// empty buffer) when it does not fit.
int FormatRunCommand(const char* programPath, char* buffer, size_t size);
// Whether a command starts the program at this path: its first word, quoted or not, is that
// path (letter case aside, as the file system has it).
int RunCommandStarts(const char* command, const char* programPath);
// Whether the value exists and starts the program at this path.
int StartsWithWindows(const char* programPath);
// Writes (on) or removes (off) the value. 1 on success; removing a missing value succeeds.
int SetStartWithWindows(int on, const char* programPath);

#endif
