// A group box whose title its window draws again in the look's colours, over what the box
// drew: a themed box (and Wine's) draws its title in a colour of its own whatever its parent's
// colour message asks.
#ifndef BRISVANE_GROUPTITLE_H
#define BRISVANE_GROUPTITLE_H

#include <windows.h>

#include "ControlColours.h"
#include "WindowObject.h"

class GroupTitle : public WindowObject {
public:
    BEGIN_MSG_MAP(GroupTitle)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    END_MSG_MAP()

    // The window's colours; drawn again only while they are the program's own, or the
    // system's high-contrast ones.
    const ControlColours* Colours = nullptr;

private:
    void DrawTitle(HDC dc);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
};

// Takes over every group box of the window (as many as there are titles) that none of them
// has yet, each drawing its title again in the colours.
void TakeGroupTitles(HWND window, GroupTitle* titles, int count, const ControlColours* colours);

#endif
