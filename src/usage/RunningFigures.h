// Today's running figures of the usage history in the INI file's section "History".
#ifndef BRISVANE_RUNNINGFIGURES_H
#define BRISVANE_RUNNINGFIGURES_H

#include "IniDocument.h"
#include "UsageHistory.h"

// Reads the running figures from every section "History" of the INI file, in place of those
// in memory (at start); when days before today are among them, the history file tells which
// of them it took already. False when the INI file could not be read.
bool ReadTodayFigures(UsageHistory& history, const char* iniFile);
// The same from a document of the INI file at iniFile, already read.
bool ReadTodayFigures(UsageHistory& history, IniDocument& document, const char* iniFile);

// Writes the running figures, the last hand-over and the section's lines that are no figures
// into the section "History" of a document of the INI file, in place of what the section
// held. False when a key could not be set.
bool WriteTodayFigures(const UsageHistory& history, IniDocument& document);

#endif
