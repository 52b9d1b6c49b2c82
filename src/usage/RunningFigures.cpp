#include "RunningFigures.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "HistoryTable.h"
#include "Platform.h"

#define HAND_OVER_TEXT_CHARS 64

static void ReadFigure(const char* line, void* history)
{
    ((UsageHistory*)history)->ReadFigureLine(line);
}

bool ReadTodayFigures(UsageHistory& history, const char* iniFile)
{
    history.ClearFigures();
    if (iniFile == NULL || iniFile[0] == 0)
        return true;
    IniDocument document;
    return document.Read(iniFile) && ReadTodayFigures(history, document, iniFile);
}

bool ReadTodayFigures(UsageHistory& history, IniDocument& document, const char* iniFile)
{
    history.ClearFigures();
    if (!document.ForEachLineOf(HISTORY_SECTION, ReadFigure, &history))
        return false;
    history.Unsaved = 0;
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int today;
    char path[PATH_CHARS];
    // Days that have ended may have reached the history file before the INI file was written.
    if (SampleDay(&now, &today) && history.HasFinishedDays(today) &&
        HistoryPathFor(iniFile, path, sizeof(path)))
        history.SettleWithFile(path);
    return true;
}

bool WriteTodayFigures(const UsageHistory& history, IniDocument& document)
{
    // The section is written whole: figures of days that went into the history file go.
    document.RemoveSection(HISTORY_SECTION);
    bool ok = true;
    // Lines that are no figures go back as they came.
    for (int at = 0; at < history.KeptLines.Count();) {
        const char* line = history.KeptLines.Data() + at;
        size_t length = strlen(line);
        at += (int)length + 1;
        const char* equals = strchr(line, '=');
        if (equals == NULL)
            continue;
        char key[FIGURE_VALUE_CHARS];
        size_t keyLength = (size_t)(equals - line);
        if (keyLength + 1 > sizeof(key))
            keyLength = sizeof(key) - 1;
        memcpy(key, line, keyLength);
        key[keyLength] = 0;
        if (!document.Set(HISTORY_SECTION, key, equals + 1))
            ok = false;
    }
    if (history.HandOver != 0) {
        char value[HAND_OVER_TEXT_CHARS];
        BoundedPrint(value, sizeof(value), "%I64u", history.HandOver);
        if (!document.Set(HISTORY_SECTION, HAND_OVER_KEY, value))
            ok = false;
    }
    for (int i = 0; i < history.Running.Count(); i++) {
        char key[FIGURE_KEY_CHARS];
        char value[FIGURE_VALUE_CHARS];
        history.FigureLine(i, key, sizeof(key), value, sizeof(value));
        if (!document.Set(HISTORY_SECTION, key, value))
            ok = false;
    }
    return ok;
}
