#include "TabStrip.h"

#include <commctrl.h>

#include "Utf8Text.h"

int TabStrip::Count() const
{
    if (Control == NULL)
        return 0;
    return (int)SendMessageW(Control, TCM_GETITEMCOUNT, 0, 0);
}

InterfaceMonitor* TabStrip::MonitorAt(int position) const
{
    if (Control == NULL || position < 0)
        return NULL;
    TCITEMW item = {};
    item.mask = TCIF_PARAM;
    if (!SendMessageW(Control, TCM_GETITEMW, position, (LPARAM)&item))
        return NULL;
    return (InterfaceMonitor*)item.lParam;
}

int TabStrip::PositionOf(const InterfaceMonitor* monitor) const
{
    int count = Count();
    for (int position = 0; position < count; position++) {
        if (MonitorAt(position) == monitor)
            return position;
    }
    return -1;
}

int TabStrip::Insert(int position, InterfaceMonitor* monitor, const char* text)
{
    WideText label(text);
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = (LPWSTR)label.Get();
    item.lParam = (LPARAM)monitor;
    return (int)SendMessageW(Control, TCM_INSERTITEMW, position, (LPARAM)&item);
}

void TabStrip::Relabel(const InterfaceMonitor* monitor, const char* text)
{
    int position = PositionOf(monitor);
    if (position < 0)
        return;
    WideText wide(text);
    TCITEMW label = {};
    label.mask = TCIF_TEXT;
    label.pszText = (LPWSTR)wide.Get();
    SendMessageW(Control, TCM_SETITEMW, position, (LPARAM)&label);
}

int TabStrip::Selected() const
{
    if (Control == NULL)
        return -1;
    return (int)SendMessageW(Control, TCM_GETCURSEL, 0, 0);
}

void TabStrip::Select(int position)
{
    SendMessageW(Control, TCM_SETCURSEL, position, 0);
}

int TabStrip::Step(int selected, int count, int step)
{
    if (count <= 0 || selected < 0 || selected >= count)
        return 0;
    return ((selected + step) % count + count) % count;
}
