// The adapters dialog (dialog 141): every adapter the program counts, in the order of the
// tabs, with a check box that gives it a tab. A hidden adapter is counted, saved, logged and
// alerted as before; it only has no tab.
#ifndef BRISVANE_ADAPTERSDIALOG_H
#define BRISVANE_ADAPTERSDIALOG_H

#include <windows.h>
#include <commctrl.h>

#include "ControlColours.h"
#include "GrowArray.h"
#include "WindowObject.h"
#include "resource.h"

constexpr size_t AdapterLabelChars = 400;

struct AdapterEntry {
    char Label[AdapterLabelChars];  // UTF-8
    bool Shown;
};

// Whether a choice of shown adapters can be taken: one adapter at least keeps its tab.
bool AnyAdapterShown(const GrowArray<AdapterEntry>& entries);

class AdaptersDialog : public DialogObject {
public:
    explicit AdaptersDialog(GrowArray<AdapterEntry>& entries) : Entries(entries) {}

    BEGIN_MSG_MAP(AdaptersDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_RANGE_HANDLER(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, OnColourMessage)
        NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        NOTIFY_HANDLER(IDC_ADAPTERS_LIST, LVN_ITEMCHANGED, OnItemChanged)
    END_MSG_MAP()

    const ControlColours* Colours = nullptr;  // the main window's; none: the system's

private:
    // The check boxes as the user left them.
    void ReadChecks();

    GrowArray<AdapterEntry>& Entries;
    bool Filled = false;

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnItemChanged(int, NMHDR*, BOOL&);
    LRESULT OnColourMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        return AnswerColourMessage(Colours, message, wParam, lParam, handled);
    }
    LRESULT OnCustomDraw(int, NMHDR* header, BOOL& handled)
    {
        return DrawPushButton(Colours, header, handled);
    }
};

// Runs the dialog modally over the entries, in the colours (none: the system's); true at OK,
// with Shown as the user left it.
bool RunAdaptersDialog(HWND owner, GrowArray<AdapterEntry>& entries,
                       const ControlColours* colours = nullptr);

#endif
