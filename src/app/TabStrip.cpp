#include "TabStrip.h"

#include <commctrl.h>

int TabStrip::Count() const
{
    if (Control == NULL)
        return 0;
    return (int)SendMessageA(Control, TCM_GETITEMCOUNT, 0, 0);
}

InterfaceMonitor* TabStrip::MonitorAt(int position) const
{
    if (Control == NULL || position < 0)
        return NULL;
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(Control, TCM_GETITEMA, position, (LPARAM)&item))
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
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = (LPSTR)text;
    item.lParam = (LPARAM)monitor;
    return (int)SendMessageA(Control, TCM_INSERTITEMA, position, (LPARAM)&item);
}

void TabStrip::Relabel(const InterfaceMonitor* monitor, const char* text)
{
    int position = PositionOf(monitor);
    if (position < 0)
        return;
    TCITEMA label = {};
    label.mask = TCIF_TEXT;
    label.pszText = (LPSTR)text;
    SendMessageA(Control, TCM_SETITEMA, position, (LPARAM)&label);
}

int TabStrip::Selected() const
{
    if (Control == NULL)
        return -1;
    return (int)SendMessageA(Control, TCM_GETCURSEL, 0, 0);
}

void TabStrip::Select(int position)
{
    SendMessageA(Control, TCM_SETCURSEL, position, 0);
}

int TabStrip::Step(int selected, int count, int step)
{
    if (count <= 0 || selected < 0 || selected >= count)
        return 0;
    return ((selected + step) % count + count) % count;
}
