// Adapters with and without tabs: a tab's context menu (hide the adapter, count it in all
// adapters or not), the adapters dialog, and the tab coming back in its place when shown. A
// hidden adapter goes on being counted, saved, logged and alerted; it only has no tab and is
// left out of the sums of all adapters.
#include <string.h>

#include "AdaptersDialog.h"
#include "BoundedText.h"
#include "LanguageMenu.h"
#include "MainWindow.h"

int MainWindow::TabPositionFor(const InterfaceMonitor& monitor) const
{
    // The tabs follow the meter's order: as many as there are shown adapters before it.
    int position = 0;
    for (int i = 0; i < Meter.Count() && Meter.At(i) != &monitor; i++)
        if (Tabs.PositionOf(Meter.At(i)) >= 0)
            position++;
    return position;
}

void MainWindow::ShowAdapter(InterfaceMonitor& monitor)
{
    monitor.SetHidden(false);
    if (Tabs.PositionOf(&monitor) >= 0 || !AddTab(monitor, false))
        return;
    InterfacePage* page = Tabs.PageAt(Tabs.PositionOf(&monitor));
    if (page != nullptr)
        page->Refresh();
}

bool MainWindow::HideAdapter(InterfaceMonitor& monitor)
{
    int position = Tabs.PositionOf(&monitor);
    if (position < 0) {
        monitor.SetHidden(true);
        return true;
    }
    if (Tabs.Count() <= 1)
        return false;
    bool selected = position == Tabs.Selected();
    Tabs.Remove(position);
    monitor.SetHidden(true);
    if (selected) {
        Tabs.Select(position < Tabs.Count() ? position : Tabs.Count() - 1);
        FitCurrentPage(false);
    }
    return true;
}

void MainWindow::SetCountsInAll(InterfaceMonitor& monitor, bool counts)
{
    monitor.SetCountsInAll(counts);
}

void MainWindow::ShowAllWhenAllHidden()
{
    if (Tabs.Count() != 0 || Meter.Count() == 0)
        return;
    bool anyShown = false;
    for (int i = 0; i < Meter.Count(); i++) {
        if (Meter.At(i)->Hidden()) {
            ShowAdapter(*Meter.At(i));
            anyShown = true;
        }
    }
    if (anyShown)
        AdaptersChanged();
}

void MainWindow::AdaptersChanged()
{
    Meter.SaveAll();
    HistoryView.AdaptersChanged();
}

LRESULT MainWindow::OnTabCommand(WORD, WORD id, HWND, BOOL&)
{
    // From the keyboard or a script: the adapter on show.
    InterfaceMonitor* monitor = Tabs.MonitorAt(Tabs.Selected());
    if (monitor == nullptr || ShutdownDone)
        return 0;
    if (id == ID_TAB_HIDE)
        HideAdapter(*monitor);
    else
        SetCountsInAll(*monitor, !monitor->CountsInAll());
    AdaptersChanged();
    return 0;
}

void MainWindow::OpenTabMenu(int position, POINT at)
{
    InterfaceMonitor* monitor = Tabs.MonitorAt(position);
    if (monitor == nullptr || ShutdownDone)
        return;
    OwnedMenu menu(LoadLanguageMenu(IDR_TABMENU));
    HMENU items = menu ? GetSubMenu(menu.Get(), 0) : NULL;
    if (items == NULL)
        return;
    CheckMenuItem(items, ID_TAB_COUNTINALL,
                  MF_BYCOMMAND | (monitor->CountsInAll() ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(items, ID_TAB_HIDE, MF_BYCOMMAND | (Tabs.Count() > 1 ? MF_ENABLED : MF_GRAYED));
    UINT chosen = (UINT)TrackPopupMenu(items, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       at.x, at.y, 0, Window, NULL);
    // The menu ran its own loop: the adapter is still there (adapters are never removed), its
    // tab may have moved.
    if (chosen == ID_TAB_HIDE)
        HideAdapter(*monitor);
    else if (chosen == ID_TAB_COUNTINALL)
        SetCountsInAll(*monitor, !monitor->CountsInAll());
    else
        return;
    AdaptersChanged();
}

LRESULT MainWindow::OnTabRightClick(int, NMHDR*, BOOL&)
{
    POINT at;
    GetCursorPos(&at);
    TCHITTESTINFO hit = {};
    hit.pt = at;
    ScreenToClient(TabControl, &hit.pt);
    int position = (int)SendMessageW(TabControl, TCM_HITTEST, 0, (LPARAM)&hit);
    if (position >= 0)
        OpenTabMenu(position, at);
    return TRUE;  // no further context menu for this click
}

LRESULT MainWindow::OnContextMenu(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    HWND from = (HWND)wParam;
    // Shift+F10 or the menu key on the strip (or on its page): the tab on show. A click came
    // as NM_RCLICK already.
    bool onStrip = TabControl != NULL && (from == TabControl || IsChild(TabControl, from));
    if (lParam != -1 || !onStrip) {
        handled = FALSE;
        return 0;
    }
    int position = Tabs.Selected();
    RECT tab;
    if (position < 0 || !SendMessageW(TabControl, TCM_GETITEMRECT, position, (LPARAM)&tab))
        return 0;
    POINT at = {tab.left, tab.bottom};
    ClientToScreen(TabControl, &at);
    OpenTabMenu(position, at);
    return 0;
}

void MainWindow::RunAdapters()
{
    if (CommandDialogOpen || ShutdownDone)
        return;
    GrowArray<AdapterEntry> entries;
    GrowArray<InterfaceMonitor*> listed;  // the meter's order may change while it is open
    if (!entries.Resize(Meter.Count()) || !listed.Resize(Meter.Count()))
        return;
    for (int i = 0; i < Meter.Count(); i++) {
        listed[i] = Meter.At(i);
        const InterfaceMonitor& monitor = *listed[i];
        char description[AdapterLabelChars];
        monitor.Description(description, sizeof(description));
        char mac[SHORT_TEXT];
        monitor.SectionName(mac, sizeof(mac));
        BoundedPrint(entries[i].Label, sizeof(entries[i].Label), "%s - %s (%s)",
                     monitor.IPv4Text, description, mac);
        entries[i].Shown = !monitor.Hidden();
    }
    CommandDialogOpen = true;
    bool accepted = RunAdaptersDialog(Window, entries, &PagesLook.Controls);
    CommandDialogOpen = false;
    // Adapters met while the dialog was open were not in it; those it listed are still there.
    if (!accepted || ShutdownDone)
        return;
    bool changed = false;
    // Shown first, so that the last tab is never the one to go.
    for (int i = 0; i < entries.Count(); i++) {
        if (entries[i].Shown && listed[i]->Hidden()) {
            ShowAdapter(*listed[i]);
            changed = true;
        }
    }
    for (int i = 0; i < entries.Count(); i++) {
        if (!entries[i].Shown && !listed[i]->Hidden()) {
            HideAdapter(*listed[i]);
            changed = true;
        }
    }
    if (changed)
        AdaptersChanged();
}
