#include "StartWithWindows.h"

#include <string.h>

#include "BoundedText.h"
#include "OwnedHandle.h"
#include "PathSplit.h"
#include "Utf8Text.h"

// Room for a full path with its quotes, the switch and the terminator (UTF-8).
#define RUN_COMMAND_CHARS (PATH_CHARS + 8)
// The same in UTF-16 units, as the registry holds it.
#define RUN_COMMAND_UNITS (MAX_PATH + 8)

RunKeyLocation RunKey = {HKEY_CURRENT_USER, RUN_KEY_PATH};

int FormatRunCommand(const char* programPath, char* buffer, size_t size)
{
    if (size == 0)
        return 0;
    size_t needed = strlen(programPath) + strlen("\"\" /s") + 1;
    if (needed > size) {
        buffer[0] = 0;
        return 0;
    }
    BoundedPrint(buffer, size, "\"%s\" /s", programPath);
    return 1;
}

int RunCommandStarts(const char* command, const char* programPath)
{
    const char* start = command;
    size_t length;
    if (*start == '"') {
        start++;
        const char* end = strchr(start, '"');
        if (end == NULL)
            return 0;
        length = (size_t)(end - start);
    } else {
        length = strcspn(start, " \t");
    }
    if (length >= RUN_COMMAND_CHARS)
        return 0;
    // Letter case aside as the file system has it, beyond ASCII too ("Ł" and "ł").
    char first[RUN_COMMAND_CHARS];
    memcpy(first, start, length);
    first[length] = 0;
    WideText a(first), b(programPath);
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Reads the value as text; 0 when it is missing, is not text or does not fit.
static int ReadRunValue(char* buffer, DWORD size)
{
    HKEY opened;
    if (RegOpenKeyExW(RunKey.Root, WideText(RunKey.Path), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS)
        return 0;
    OwnedKey key(opened);
    DWORD type = 0;
    wchar_t command[RUN_COMMAND_UNITS];
    DWORD bytes = sizeof(command) - sizeof(wchar_t);  // room for a terminator it may lack
    LONG error = RegQueryValueExW(key.Get(), WideText(RUN_VALUE_NAME), NULL, &type,
                                  (BYTE*)command, &bytes);
    if (error != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return 0;
    command[bytes / sizeof(wchar_t)] = 0;
    WideToUtf8(command, buffer, size);
    return 1;
}

int StartsWithWindows(const char* programPath)
{
    char command[RUN_COMMAND_CHARS];
    return ReadRunValue(command, sizeof(command)) && RunCommandStarts(command, programPath);
}

int SetStartWithWindows(int on, const char* programPath)
{
    HKEY opened;
    if (!on) {
        LONG error = RegOpenKeyExW(RunKey.Root, WideText(RunKey.Path), 0, KEY_SET_VALUE, &opened);
        if (error == ERROR_FILE_NOT_FOUND)
            return 1;
        if (error != ERROR_SUCCESS)
            return 0;
        OwnedKey key(opened);
        error = RegDeleteValueW(key.Get(), WideText(RUN_VALUE_NAME));
        return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND;
    }

    char command[RUN_COMMAND_CHARS];
    if (!FormatRunCommand(programPath, command, sizeof(command)))
        return 0;
    wchar_t wide[RUN_COMMAND_UNITS];
    size_t units = Utf8ToWide(command, wide, RUN_COMMAND_UNITS);
    // A command that does not fit whole would start another program, or none.
    if (units + 1 >= RUN_COMMAND_UNITS)
        return 0;
    if (RegCreateKeyExW(RunKey.Root, WideText(RunKey.Path), 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, NULL, &opened, NULL) != ERROR_SUCCESS)
        return 0;
    OwnedKey key(opened);
    LONG error = RegSetValueExW(key.Get(), WideText(RUN_VALUE_NAME), 0, REG_SZ,
                                (const BYTE*)wide, (DWORD)((units + 1) * sizeof(wchar_t)));
    return error == ERROR_SUCCESS;
}
