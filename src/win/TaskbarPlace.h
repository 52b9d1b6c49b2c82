// Where a small window of the tray first shows: in the corner of the primary monitor's work area
// beside the taskbar, at the end that holds the notification area, clear of the taskbar even
// where the work area does not leave it out (a taskbar that hides itself, a desktop whose work
// area is the whole screen).
#ifndef BRISVANE_TASKBARPLACE_H
#define BRISVANE_TASKBARPLACE_H

#include <windows.h>

enum TaskbarSide { TaskbarAtBottom, TaskbarAtTop, TaskbarAtLeft, TaskbarAtRight };

// The primary monitor, its work area and, when the shell tells it, the taskbar's rectangle.
struct PrimaryScreen {
    RECT Monitor;
    RECT Work;
    bool HasTaskbar;
    RECT Taskbar;
};

// The side the work area leaves out; where it leaves none out, the side of the monitor the
// taskbar lies along; the bottom when neither tells.
TaskbarSide SideOfTaskbar(const PrimaryScreen& screen);
// A window of that size gap pixels inside the work area's corner beside the taskbar, off the
// taskbar itself.
RECT PlaceBesideTaskbar(const PrimaryScreen& screen, SIZE size, int gap);
// The primary screen as the system has it now.
PrimaryScreen ReadPrimaryScreen();

#endif
