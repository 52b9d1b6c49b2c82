// What the history window needs of the program around it, which keeps the settings and the
// INI file: the program fills these in, the window only calls them.
#ifndef BRISVANE_HISTORYLINKS_H
#define BRISVANE_HISTORYLINKS_H

#include <windows.h>
#include <stddef.h>

#include <functional>

#include "PeriodForecast.h"
#include "WindowPlace.h"

// The INI section that keeps the window's place.
#define HISTORY_WINDOW_SECTION "HistoryWindow"

// What "All adapters" needs to know of an adapter.
struct AdapterStanding {
    bool Shown;    // it has a tab (hidden ones are left out of the sum)
    bool Counted;  // it counts in all adapters with physical adapters only
};

struct HistoryLinks {
    // The INI file: the history file lies beside it, and the window's place is kept in it.
    const char* IniPath;
    // The day the months start on (BillingDayOf) by the settings as they are now.
    int (*BillingDay)();
    // Keeps the window's place, in 96-DPI units, in the section HISTORY_WINDOW_SECTION of the
    // INI file.
    void (*SavePlace)(const WindowPlace& place);
    // Reads a key of that section as text ("" when missing): the INI reader is the settings
    // layer's.
    void (*ReadPlaceText)(const char* key, char* text, size_t size);
    // Keeps a choice of the window in that section.
    void (*SaveChoice)(const char* key, const char* text);
    // The standing of the adapter the history names so (its MAC text or interface name).
    // Empty: every adapter is shown and counted.
    std::function<AdapterStanding(const char* name)> StandingOf;
    // The name the main window's tab gives the adapter of a MAC text; false when no tab shows
    // it. Empty: adapters go by their descriptions alone.
    std::function<bool(const char* mac, char* name, size_t size)> TabName;
    // The monitors' work areas, the primary first; null for those of this system (tests put
    // screens of their own here).
    size_t (*WorkAreas)(WorkArea* areas, size_t capacity);
    // The current period of the adapter (null: all of them) that holds today, and the limits
    // it is held against; 0 when there is none to show. May be null.
    int (*ForecastRule)(int today, const char* mac, PeriodSpan* span, PeriodLimits* limits);
};

#endif
