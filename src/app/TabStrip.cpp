#include "TabStrip.h"

#include <commctrl.h>
#include <new>

#include "Utf8Text.h"

TabStrip::~TabStrip()
{
    Clear();
}

void TabStrip::Clear()
{
    for (InterfacePage* page : Pages) {
        if (page->Window != NULL)
            DestroyWindow(page->Window);
        delete page;
    }
    Pages.Free();
}

InterfacePage* TabStrip::PageAt(int position) const
{
    if (position < 0 || position >= Pages.Count())
        return nullptr;
    return Pages[position];
}

InterfaceMonitor* TabStrip::MonitorAt(int position) const
{
    InterfacePage* page = PageAt(position);
    return page != nullptr ? &page->Monitor : nullptr;
}

int TabStrip::PositionOf(const InterfaceMonitor* monitor) const
{
    for (int position = 0; position < Pages.Count(); position++)
        if (&Pages[position]->Monitor == monitor)
            return position;
    return -1;
}

int TabStrip::Add(int position, InterfaceMonitor& monitor)
{
    InterfacePage* page = new (std::nothrow) InterfacePage(monitor);
    if (page == nullptr)
        return -1;
    page->Look = Look;
    if (page->Create(Control) == NULL) {
        delete page;
        return -1;
    }
    WideText label(monitor.IPv4Text);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = (LPWSTR)label.Get();
    int inserted = (int)SendMessageW(Control, TCM_INSERTITEMW, position, (LPARAM)&item);
    if (inserted < 0 || !Pages.InsertAt(inserted, page)) {
        // No tab can reach this page: drop it quietly.
        if (inserted >= 0)
            SendMessageW(Control, TCM_DELETEITEM, inserted, 0);
        DestroyWindow(page->Window);
        delete page;
        return -1;
    }
    return inserted;
}

void TabStrip::Remove(int position)
{
    InterfacePage* page = PageAt(position);
    if (page == nullptr)
        return;
    SendMessageW(Control, TCM_DELETEITEM, position, 0);
    Pages.RemoveAt(position);
    if (page->Window != NULL)
        DestroyWindow(page->Window);
    delete page;
}

void TabStrip::Relabel(const InterfaceMonitor& monitor)
{
    int position = PositionOf(&monitor);
    if (position < 0)
        return;
    WideText wide(monitor.IPv4Text);
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
