// A page's group box whose title the page draws again in its look's colours, over what the box
// drew: a themed box (and Wine's) draws its title in a colour of its own whatever the page asks.
#ifndef BRISVANE_GROUPTITLE_H
#define BRISVANE_GROUPTITLE_H

#include <windows.h>

#include "PageLook.h"
#include "WindowObject.h"

class GroupTitle : public WindowObject {
public:
    BEGIN_MSG_MAP(GroupTitle)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    END_MSG_MAP()

    // The page's look, as the page holds it; drawn again only while it has colours of its own.
    const PageLook* const* LookOf = nullptr;

private:
    void DrawTitle(HDC dc);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
};

#endif
