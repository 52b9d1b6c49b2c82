// The main window's tab strip: one tab per adapter on show, each linked to the adapter's
// monitor and its page. The links are kept here in tab order; a tab item holds only its text.
#ifndef BRISVANE_TABSTRIP_H
#define BRISVANE_TABSTRIP_H

#include <windows.h>

#include "GrowArray.h"
#include "InterfacePage.h"

class TabStrip {
public:
    TabStrip() = default;
    ~TabStrip();
    TabStrip(const TabStrip&) = delete;
    TabStrip& operator=(const TabStrip&) = delete;

    int Count() const { return Pages.Count(); }
    // The page and the monitor of the tab at a position, or null.
    InterfacePage* PageAt(int position) const;
    InterfaceMonitor* MonitorAt(int position) const;
    // The position of the monitor's tab, or -1.
    int PositionOf(const InterfaceMonitor* monitor) const;
    // Makes the monitor's page and a tab for it at the position (past the last one appends).
    // Returns where the tab landed, or -1 when the page or the tab could not be made (then
    // nothing is left behind).
    int Add(int position, InterfaceMonitor& monitor);
    void Relabel(const InterfaceMonitor& monitor);
    // Takes the tab at the position away with its page; the monitor goes on counting.
    void Remove(int position);
    // The selected position, or -1; Select sends no selection notifications.
    int Selected() const;
    void Select(int position);
    InterfacePage* SelectedPage() const { return PageAt(Selected()); }
    // The position a step of +1 or -1 leads to from the selected one, round the ends as in a
    // property sheet; 0 when nothing is selected.
    static int Step(int selected, int count, int step);
    // Lets go of every page once the control has destroyed their windows.
    void Clear();

    HWND Control = nullptr;
    const PageLook* Look = nullptr;  // given to every page made

private:
    GrowArray<InterfacePage*> Pages;  // in tab order, owned
};

#endif
