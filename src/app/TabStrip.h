// The main window's tab strip as the ordered container of the monitors: each tab item's
// parameter is an adapter's monitor, its text the adapter's IPv4 text. Every walk over the
// tab items goes through here.
#ifndef BRISVANE_TABSTRIP_H
#define BRISVANE_TABSTRIP_H

#include <windows.h>

class InterfaceMonitor;

class TabStrip {
public:
    explicit TabStrip(HWND control) : Control(control) {}

    int Count() const;
    // The monitor of the item at a position, or null when the item cannot be read.
    InterfaceMonitor* MonitorAt(int position) const;
    // The position of the monitor's item, or -1.
    int PositionOf(const InterfaceMonitor* monitor) const;
    // Inserts an item at the position (past the last one appends); returns where it landed,
    // or -1.
    int Insert(int position, InterfaceMonitor* monitor, const char* text);
    void Relabel(const InterfaceMonitor* monitor, const char* text);
    // The selected position, or -1; Select sends no selection notifications.
    int Selected() const;
    void Select(int position);
    // The position a step of +1 or -1 leads to from the selected one, round the ends as in a
    // property sheet; 0 when nothing is selected.
    static int Step(int selected, int count, int step);

    HWND Control;
};

#endif
