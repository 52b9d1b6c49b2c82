// The program's side of the history window, which knows neither adapters nor settings: the
// settings it shows by and the INI file it keeps its place in.
#ifndef BRISVANE_HISTORYLINK_H
#define BRISVANE_HISTORYLINK_H

#include "HistoryLinks.h"

// The history window's links to the settings and the INI file.
HistoryLinks SettingsHistoryLinks();

#endif
