// The history window's list: its rows drawn as they change, their texts asked for by the
// list itself, and the copy of the selected rows.
#include "HistoryWindow.h"
#include "Utf8Text.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"

#define LINE_END_CHARS 2
// Far more than a list of every day since 1601 needs.
#define MAX_SELECTION_CHARS 0x3FFFFFFF

void HistoryWindow::ShowRows(const PeriodRows& rows, int rebuild)
{
    HWND list = GetDlgItem(Window, IDC_HIST_LIST);
    if (rebuild || rows.Count() != Shown.Count()) {
        Shown.CopyFrom(rows);
        SendMessageW(list, LVM_SETITEMCOUNT, Shown.Count(), LVSICF_NOSCROLL);
        InvalidateRect(list, NULL, FALSE);
        return;
    }
    // Mostly only today's row grows: only the rows that changed are drawn again.
    int first = -1, last = -1;
    for (int i = 0; i < rows.Count(); i++) {
        if (memcmp(&rows.Rows[i], &Shown.Rows[i], sizeof(PeriodRow)) != 0) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return;
    Shown.CopyFrom(rows);
    SendMessageW(list, LVM_REDRAWITEMS, first, last);
}

void HistoryWindow::FillItemText(int item, int column, char* buffer, size_t size)
{
    if (size == 0)
        return;
    buffer[0] = 0;
    if (item < 0 || item >= Shown.Count())
        return;
    const PeriodRow& row = Shown.Rows[item];
    switch (column) {
    case ColumnPeriod:
        FormatPeriodText(row.Start, View, BillingDay, buffer, size);
        break;
    case ColumnIn:
        FormatReportAmount(row.In, buffer, size);
        break;
    case ColumnOut:
        FormatReportAmount(row.Out, buffer, size);
        break;
    case ColumnTotal:
        FormatReportAmount(RowTotal(row), buffer, size);
        break;
    default:
        break;
    }
}

LRESULT HistoryWindow::OnGetDispInfo(int, NMHDR* header, BOOL&)
{
    NMLVDISPINFOW* info = (NMLVDISPINFOW*)header;
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText != NULL &&
        info->item.cchTextMax > 0) {
        char text[PERIOD_TEXT_CHARS];
        FillItemText(info->item.iItem, info->item.iSubItem, text, sizeof(text));
        Utf8ToWide(text, info->item.pszText, (size_t)info->item.cchTextMax);
    }
    return 0;
}

int HistoryWindow::SelectedRowsText(GrowArray<char>* text)
{
    text->Clear();
    HWND list = GetDlgItem(Window, IDC_HIST_LIST);
    int selected = (int)SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected <= 0)
        return 0;
    size_t size = (size_t)selected * (REPORT_LINE_CHARS + LINE_END_CHARS) + 1;
    if (size > (size_t)MAX_SELECTION_CHARS || !text->Resize((int)size))
        return 0;
    char* out = text->Data();
    size_t used = 0;
    out[0] = 0;
    for (int item = (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
         item >= 0 && item < Shown.Count();
         item = (int)SendMessageW(list, LVM_GETNEXTITEM, item, LVNI_SELECTED)) {
        used += FormatReportLine(Shown.Rows[item], View, BillingDay, out + used, size - used);
        used += BoundedPrint(out + used, size - used, "\r\n");
    }
    text->Resize((int)used + 1);  // smaller: cannot fail
    return 1;
}

int HistoryWindow::CopySelection()
{
    GrowArray<char> text;
    if (!SelectedRowsText(&text))
        return 0;
    int ok = 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)text.Count());
    if (block != NULL) {
        char* target = (char*)GlobalLock(block);
        if (target != NULL) {
            memcpy(target, text.Data(), (size_t)text.Count());
            GlobalUnlock(block);
            if (OpenClipboard(Window)) {
                EmptyClipboard();
                ok = SetClipboardData(CF_TEXT, block) != NULL;
                CloseClipboard();
            }
        }
        if (!ok)
            GlobalFree(block);
    }
    return ok;
}

LRESULT HistoryWindow::OnListKeyDown(int, NMHDR* header, BOOL&)
{
    const NMLVKEYDOWN* key = (const NMLVKEYDOWN*)header;
    if (GetKeyState(VK_CONTROL) >= 0)
        return 0;
    if (key->wVKey == 'C') {
        CopySelection();
    } else if (key->wVKey == 'A') {
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendDlgItemMessageW(Window, IDC_HIST_LIST, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    }
    return 0;
}
