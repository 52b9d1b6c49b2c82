#include "TaskbarPlace.h"

#include <shellapi.h>

namespace {

// The room of the work area that the taskbar leaves, should the work area hold it.
RECT RoomBesideTaskbar(const PrimaryScreen& screen, TaskbarSide side)
{
    RECT room = screen.Work;
    if (!screen.HasTaskbar)
        return room;
    const RECT& bar = screen.Taskbar;
    RECT overlap;
    if (!IntersectRect(&overlap, &room, &bar))
        return room;
    switch (side) {
    case TaskbarAtBottom:
        room.bottom = bar.top < room.bottom ? bar.top : room.bottom;
        break;
    case TaskbarAtTop:
        room.top = bar.bottom > room.top ? bar.bottom : room.top;
        break;
    case TaskbarAtLeft:
        room.left = bar.right > room.left ? bar.right : room.left;
        break;
    case TaskbarAtRight:
        room.right = bar.left < room.right ? bar.left : room.right;
        break;
    }
    return room;
}

}  // namespace

TaskbarSide SideOfTaskbar(const PrimaryScreen& screen)
{
    const RECT& monitor = screen.Monitor;
    const RECT& work = screen.Work;
    if (work.bottom < monitor.bottom)
        return TaskbarAtBottom;
    if (work.top > monitor.top)
        return TaskbarAtTop;
    if (work.left > monitor.left)
        return TaskbarAtLeft;
    if (work.right < monitor.right)
        return TaskbarAtRight;
    if (!screen.HasTaskbar)
        return TaskbarAtBottom;
    const RECT& bar = screen.Taskbar;
    if (bar.right - bar.left >= bar.bottom - bar.top)
        return bar.top - monitor.top < monitor.bottom - bar.bottom ? TaskbarAtTop : TaskbarAtBottom;
    return bar.left - monitor.left < monitor.right - bar.right ? TaskbarAtLeft : TaskbarAtRight;
}

RECT PlaceBesideTaskbar(const PrimaryScreen& screen, SIZE size, int gap)
{
    const TaskbarSide side = SideOfTaskbar(screen);
    const RECT room = RoomBesideTaskbar(screen, side);
    // The notification area ends a horizontal taskbar on the right and a vertical one at the
    // bottom.
    int left = side == TaskbarAtLeft ? room.left + gap : room.right - size.cx - gap;
    int top = side == TaskbarAtTop ? room.top + gap : room.bottom - size.cy - gap;
    // Too small a room: its top left corner, rather than off it.
    if (left < room.left)
        left = room.left;
    if (top < room.top)
        top = room.top;
    RECT place = {left, top, left + size.cx, top + size.cy};
    return place;
}

PrimaryScreen ReadPrimaryScreen()
{
    PrimaryScreen screen = {};
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    const POINT origin = {0, 0};
    if (GetMonitorInfoW(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info)) {
        screen.Monitor = info.rcMonitor;
        screen.Work = info.rcWork;
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen.Work, 0);
        screen.Monitor = screen.Work;
    }
    APPBARDATA bar = {};
    bar.cbSize = sizeof(bar);
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar) && !IsRectEmpty(&bar.rc)) {
        screen.HasTaskbar = true;
        screen.Taskbar = bar.rc;
    }
    return screen;
}
