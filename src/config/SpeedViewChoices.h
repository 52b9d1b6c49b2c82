// What the speed views show, as kept in the section "SpeedView" of the INI file. A file
// without the section gives the defaults: the program's own tray icon and no speed window;
// "all adapters" adds the physical ones only.
#ifndef BRISVANE_SPEEDVIEWCHOICES_H
#define BRISVANE_SPEEDVIEWCHOICES_H

#include "IniDocument.h"
#include "WindowPlace.h"

#define SPEED_VIEW_SECTION "SpeedView"

enum SpeedTrayMode {
    SpeedTrayProgramIcon = 0,  // the program's icon, red while an alert is on
    SpeedTraySpeed = 1,        // download over upload as short text
    SpeedTrayGraph = 2,        // the last seconds as bars
    SpeedTrayModeCount
};

// The speed window's opacities, in percent.
const int SpeedOpacities[] = {100, 80, 60};
const int SpeedOpacityCount = 3;

struct SpeedViewChoices {
    int TrayMode;      // a SpeedTrayMode
    int WindowShown;   // the speed window is wanted
    int AllAdapters;   // the sum of every adapter, else the adapter on show
    int PhysicalOnly;  // that sum of the physical adapters only (AddedToAllAdapters)
    int Bits;          // bits per second, else bytes
    int ClickThrough;  // the speed window lets the mouse through
    int Opacity;       // of the speed window, one of SpeedOpacities
    int HasPlace;      // Place holds where the speed window was
    WindowPlace Place;
};

SpeedViewChoices DefaultSpeedViewChoices();
// Reads the section from a document of the INI file. A key that is missing or unreadable
// keeps its default; so does the place unless all its keys can be read.
SpeedViewChoices ReadSpeedViewChoices(const IniDocument& document);
// Puts every key of the section into the document; 0 when one could not be set.
int StoreSpeedViewChoices(const SpeedViewChoices& choices, IniDocument& document);

#endif
