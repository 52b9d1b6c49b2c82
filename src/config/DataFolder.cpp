#include "DataFolder.h"

#include <string.h>

#include "BoundedText.h"
#include "IniDocument.h"
#include "OwnedHandle.h"
#include "Platform.h"
#include "Utf8Text.h"

char IniPath[PATH_CHARS];
char DataFolder[PATH_CHARS];

#define PER_USER_FOLDER "Brisvane"
#define INSTALLED_MARK "Brisvane.installed"
#define WRITE_PROBE "~Brisvane.probe"
#define INI_EXTENSION ".INI"

// The UTF-16 units of a UTF-8 text: what the system's path limit counts.
static size_t WideLength(const char* text)
{
    size_t units = 0;
    for (const unsigned char* p = (const unsigned char*)text; *p != 0; p++) {
        if ((*p & 0xC0) != 0x80)
            units++;
        if (*p >= 0xF0)
            units++;  // beyond the first plane: a surrogate pair
    }
    return units;
}

// Whether a path with the INI's extension in place of the program's (and the temporary file
// its saves write first) stays within the system's path limit.
static int IniPathFits(const char* modulePath)
{
    return WideLength(modulePath) + sizeof(INI_EXTENSION) < MAX_PATH;
}

// Replaces the extension of a copy of modulePath by extension, or appends it when the file
// name has none. The result never names the program file itself.
static void ReplaceExtension(const char* modulePath, const char* extension, char* target)
{
    size_t extensionLength = strlen(extension);
    size_t baseLength = strlen(modulePath);
    const char* dot = strrchr(modulePath, '.');
    if (dot != NULL && (size_t)(dot - modulePath) >= FolderPartLength(modulePath)) {
        size_t dotAt = (size_t)(dot - modulePath);
        // "Tool.ini" must not become "Tool.INI", the program itself.
        if (_stricmp(modulePath + dotAt, extension) != 0)
            baseLength = dotAt;
    }
    // Keep the extension whole when the path is long: cut the base at a character boundary.
    if (baseLength + extensionLength > PATH_CHARS - 1) {
        size_t at = PATH_CHARS - 1 - extensionLength;
        while (at > 0 && ((unsigned char)modulePath[at] & 0xC0) == 0x80)
            at--;
        baseLength = at;
    }
    memcpy(target, modulePath, baseLength);
    memcpy(target + baseLength, extension, extensionLength + 1);
}

void DeriveIniPaths(const char* modulePath, char* iniPath, char* eventLogPath,
                    char* trafficLogPath)
{
    ReplaceExtension(modulePath, INI_EXTENSION, iniPath);
    ReplaceExtension(modulePath, ".LOG", eventLogPath);
    ReplaceExtension(modulePath, ".CSV", trafficLogPath);
}

static int FileExists(const char* path)
{
    return GetFileAttributesW(WideText(path)) != INVALID_FILE_ATTRIBUTES;
}

// Whether a file can be made in the folder: the only sure test of the rights it grants.
static int FolderCanBeWritten(const char* folder)
{
    char probe[PATH_CHARS];
    if (BoundedPrint(probe, sizeof(probe), "%s\\%s", folder, WRITE_PROBE) !=
        (int)(strlen(folder) + 1 + strlen(WRITE_PROBE)))
        return 0;
    WideText wideProbe(probe);
    {
        OwnedHandle file(CreateFileW(wideProbe, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL));
        if (!file)
            return 0;
    }
    DeleteFileW(wideProbe);
    return 1;
}

// Copies a file in whole into the place of target (a new file, then one replace).
static void CopyAsFirstContent(const char* source, const char* target)
{
    IniDocument document;
    DWORD error;
    if (document.Read(source) && document.Length() != 0)
        document.WriteReplacing(target, &error);
}

// prepare: the per-user folder is made, and a first INI copied into it, as the program needs
// them; without, the same choice is only looked up.
static void PlaceDataFolder(const char* modulePath, char* eventLogPath, char* trafficLogPath,
                            int prepare)
{
    const char* slash = strrchr(modulePath, '\\');
    const char* name = slash != NULL ? slash + 1 : modulePath;
    size_t folderLength = (size_t)(name - modulePath) - (slash != NULL ? 1 : 0);

    char beside[PATH_CHARS] = "";
    // Room for the INI name and for the temporary file its saves write first.
    int fits = strlen(modulePath) + sizeof(INI_EXTENSION) < PATH_CHARS && IniPathFits(modulePath);
    if (fits) {
        char folder[PATH_CHARS], mark[PATH_CHARS];
        CopyText(folder, folderLength + 1 < sizeof(folder) ? folderLength + 1 : sizeof(folder),
                 modulePath);
        char eventLog[PATH_CHARS], trafficLog[PATH_CHARS];
        DeriveIniPaths(modulePath, beside, eventLog, trafficLog);
        BoundedPrint(mark, sizeof(mark), "%s\\%s", folder, INSTALLED_MARK);
        if (!FileExists(mark) && FolderCanBeWritten(folder)) {
            CopyText(DataFolder, sizeof(DataFolder), folder);
            CopyText(IniPath, PATH_CHARS, beside);
            CopyText(eventLogPath, PATH_CHARS, eventLog);
            CopyText(trafficLogPath, PATH_CHARS, trafficLog);
            return;
        }
    }

    char perUser[PATH_CHARS], program[PATH_CHARS];
    if (!Platform.ReadAppDataFolder(perUser, sizeof(perUser)) ||
        BoundedPrint(perUser + strlen(perUser), sizeof(perUser) - strlen(perUser), "\\%s",
                     PER_USER_FOLDER) <= 0 ||
        BoundedPrint(program, sizeof(program), "%s\\%s", perUser, name) <= 0 ||
        strlen(program) + sizeof(INI_EXTENSION) >= PATH_CHARS || !IniPathFits(program)) {
        // Nowhere else to go: the program's folder, where a failed save is reported.
        CopyText(DataFolder, folderLength + 1 < sizeof(DataFolder) ? folderLength + 1
                                                                  : sizeof(DataFolder),
                 modulePath);
        if (fits)
            DeriveIniPaths(modulePath, IniPath, eventLogPath, trafficLogPath);
        return;
    }
    if (prepare)
        CreateDirectoryW(WideText(perUser), NULL);
    CopyText(DataFolder, sizeof(DataFolder), perUser);
    DeriveIniPaths(program, IniPath, eventLogPath, trafficLogPath);
    if (prepare && fits && !FileExists(IniPath) && FileExists(beside))
        CopyAsFirstContent(beside, IniPath);
}

void ChooseDataFolder(const char* modulePath, char* eventLogPath, char* trafficLogPath)
{
    PlaceDataFolder(modulePath, eventLogPath, trafficLogPath, 1);
}

void LocateDataFolder(const char* modulePath)
{
    char eventLog[PATH_CHARS], trafficLog[PATH_CHARS];
    PlaceDataFolder(modulePath, eventLog, trafficLog, 0);
}
