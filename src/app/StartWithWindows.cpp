#include "StartWithWindows.h"

#include <string.h>

#include "BoundedText.h"
#include "OwnedHandle.h"

// Room for a full path with its quotes, the switch and the terminator.
#define RUN_COMMAND_CHARS (MAX_PATH + 8)

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
    return length == strlen(programPath) && _strnicmp(start, programPath, length) == 0;
}

// Reads the value as text; 0 when it is missing, is not text or does not fit.
static int ReadRunValue(char* buffer, DWORD size)
{
    HKEY opened;
    if (RegOpenKeyExA(RunKey.Root, RunKey.Path, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return 0;
    OwnedKey key(opened);
    DWORD type = 0;
    DWORD bytes = size - 1;  // room for a terminator the stored text may lack
    LONG error = RegQueryValueExA(key.Get(), RUN_VALUE_NAME, NULL, &type, (BYTE*)buffer, &bytes);
    if (error != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return 0;
    buffer[bytes] = 0;
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
        LONG error = RegOpenKeyExA(RunKey.Root, RunKey.Path, 0, KEY_SET_VALUE, &opened);
        if (error == ERROR_FILE_NOT_FOUND)
            return 1;
        if (error != ERROR_SUCCESS)
            return 0;
        OwnedKey key(opened);
        error = RegDeleteValueA(key.Get(), RUN_VALUE_NAME);
        return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND;
    }

    char command[RUN_COMMAND_CHARS];
    if (!FormatRunCommand(programPath, command, sizeof(command)))
        return 0;
    if (RegCreateKeyExA(RunKey.Root, RunKey.Path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        NULL, &opened, NULL) != ERROR_SUCCESS)
        return 0;
    OwnedKey key(opened);
    LONG error = RegSetValueExA(key.Get(), RUN_VALUE_NAME, 0, REG_SZ, (const BYTE*)command,
                                (DWORD)strlen(command) + 1);
    return error == ERROR_SUCCESS;
}
