#include "AdaptersDialog.h"

#include "Utf8Text.h"

namespace {

constexpr UINT Unchecked = 1;  // the list's state images: 1 unchecked, 2 checked
constexpr UINT Checked = 2;

}  // namespace

bool AnyAdapterShown(const GrowArray<AdapterEntry>& entries)
{
    for (const AdapterEntry& entry : entries)
        if (entry.Shown)
            return true;
    return false;
}

LRESULT AdaptersDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND list = GetDlgItem(Window, IDC_ADAPTERS_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT area;
    GetClientRect(list, &area);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = area.right - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);
    for (int i = 0; i < Entries.Count(); i++) {
        WideText label(Entries[i].Label);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = (LPWSTR)label.Get();
        int at = (int)SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
        LVITEMW state = {};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(Entries[i].Shown ? Checked : Unchecked);
        SendMessageW(list, LVM_SETITEMSTATE, at, (LPARAM)&state);
    }
    Filled = true;
    EnableWindow(GetDlgItem(Window, IDOK), AnyAdapterShown(Entries));
    if (Colours != nullptr)
        ShowColours(Window, *Colours);
    return TRUE;
}

void AdaptersDialog::ReadChecks()
{
    HWND list = GetDlgItem(Window, IDC_ADAPTERS_LIST);
    for (int i = 0; i < Entries.Count(); i++) {
        UINT state = (UINT)SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK);
        Entries[i].Shown = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(Checked);
    }
}

LRESULT AdaptersDialog::OnItemChanged(int, NMHDR*, BOOL&)
{
    // The last adapter with a tab cannot go: OK waits for one to be checked.
    if (Filled) {
        ReadChecks();
        EnableWindow(GetDlgItem(Window, IDOK), AnyAdapterShown(Entries));
    }
    return 0;
}

LRESULT AdaptersDialog::OnOK(WORD, WORD, HWND, BOOL&)
{
    ReadChecks();
    if (AnyAdapterShown(Entries))
        EndDialog(Window, IDOK);
    return 0;
}

LRESULT AdaptersDialog::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(Window, IDCANCEL);
    return 0;
}

bool RunAdaptersDialog(HWND owner, GrowArray<AdapterEntry>& entries,
                       const ControlColours* colours)
{
    GrowArray<AdapterEntry> choice;
    if (!choice.Resize(entries.Count()))
        return false;
    for (int i = 0; i < entries.Count(); i++)
        choice[i] = entries[i];
    AdaptersDialog dialog(choice);
    dialog.Colours = colours;
    if (dialog.RunModal(owner, IDD_ADAPTERS) != IDOK)
        return false;
    for (int i = 0; i < entries.Count(); i++)
        entries[i].Shown = choice[i].Shown;
    return true;
}
