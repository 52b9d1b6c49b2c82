// Where the INI file and the logs lie: beside the program when it keeps its data there, else in
// the user's application data folder. Paths are UTF-8.
#ifndef BRISVANE_DATAFOLDER_H
#define BRISVANE_DATAFOLDER_H

#include "PathSplit.h"

extern char IniPath[PATH_CHARS];
// The folder of the INI file and the logs: the program's own when it can be written there,
// else the user's own (see ChooseDataFolder).
extern char DataFolder[PATH_CHARS];

// The data folder of a program: its own folder when files can be created there, the INI path
// fits, and it is no installed copy (marked by "Brisvane.installed" beside it); else
// "Brisvane" in the user's application data folder (created when missing). modulePath may be
// longer than PATH_CHARS. Writes DataFolder, IniPath and the two default log paths; an INI
// beside a program that does not keep its data there becomes the first content of the new one.
void ChooseDataFolder(const char* modulePath, char* eventLogPath, char* trafficLogPath);

// The same choice for another program that only reads the data: DataFolder and IniPath as
// the program at modulePath would have them, and nothing made or copied.
void LocateDataFolder(const char* modulePath);

// The INI path and the two default log paths that belong to a program file: its extension
// replaced by ".INI", ".LOG" and ".CSV", or these appended when the file name has none. Each
// buffer holds PATH_CHARS bytes.
void DeriveIniPaths(const char* modulePath, char* iniPath, char* eventLogPath,
                    char* trafficLogPath);

#endif
