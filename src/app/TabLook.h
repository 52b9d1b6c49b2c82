// How an adapter's tab shows what it is: its tip names the adapter and says its status, and the
// tab of an adapter that is not connected is drawn faint; its text stays the IPv4 text.
#ifndef BRISVANE_TABLOOK_H
#define BRISVANE_TABLOOK_H

#include <windows.h>

#include "TabStrip.h"

// The tip of an adapter's tab: its description, then its status on a line of its own.
void FormatTabTip(const InterfaceMonitor& monitor, char* tip, size_t size);
// Draws an owner-drawn tab's text: the look's text (the system's button text unless the look
// has colours of its own), or a faint one that still reads for an adapter that is not connected.
void DrawTab(const TabStrip& tabs, const DRAWITEMSTRUCT& item);
// Redraws the tabs whose adapter became connected or not since they were last drawn.
void ShowTabStates(const TabStrip& tabs);

// Answers the tab strip's tooltip when it asks for a tab's text, from a buffer of its own that
// outlives the question.
class TabTips {
public:
    // Makes a tab strip's tooltip show a line break as one; once, after the strip is made.
    static void Prepare(HWND tabControl);
    // True when the question was the tab strip's tooltip's: then the tip is filled in.
    bool Answer(const TabStrip& tabs, NMHDR* header);

private:
    wchar_t Text[MAX_DESCR + 64] = L"";
};

#endif
