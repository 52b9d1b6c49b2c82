// Tab in the settings dialog runs as the dialog is laid out, top to bottom and left to right,
// and a label's mnemonic reaches the control beside it. The template is created as it is, by a
// dialog procedure that does nothing, so every control of it takes part.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "resource.h"

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

TEST(SettingsTabOrder, FollowsTheLayout)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SETTINGS),
                                     NULL, PlainDialog, 0);
    ASSERT_NE((HWND)NULL, dialog);
    const int expected[] = {IDC_SET_NEVER,     IDC_SET_DATE,      IDC_SET_DAY,
                            IDC_SET_NOW,       IDC_SET_RESETCOUNTERS, IDC_SET_LIMITIN,
                            IDC_SET_LIMITOUT,  IDC_SET_PERCENT,   IDC_SET_DISTINCT,
                            IDC_SET_ENABLELOG, IDC_SET_LOGPATH,   IDC_SET_LOGBROWSE,
                            IDC_SET_ENABLECSV, IDC_SET_CSVPATH,   IDC_SET_CSVBROWSE,
                            IDC_SET_LOOPBACK,  IDOK,              IDCANCEL};
    std::vector<int> visited;
    HWND first = GetNextDlgTabItem(dialog, NULL, FALSE);
    HWND control = first;
    do {
        visited.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(dialog, control, FALSE);
    } while (control != first && control != NULL && visited.size() < 40);
    EXPECT_EQ(std::vector<int>(expected, expected + sizeof(expected) / sizeof(expected[0])),
              visited);

    // From the log files on, each stop lies lower than the one before, or on its row further
    // right.
    RECT previous = {};
    for (size_t i = 9; i < visited.size(); i++) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, visited[i]), &r);
        if (i > 9) {
            bool sameRow = r.top < previous.bottom && r.bottom > previous.top;
            EXPECT_TRUE(sameRow ? r.left >= previous.right : r.top >= previous.bottom)
                << "control " << visited[i];
        }
        previous = r;
    }

    // The traffic log's label leads to its path.
    EXPECT_EQ(GetDlgItem(dialog, IDC_SET_CSVPATH),
              GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_SET_CSVPATH_LABEL), FALSE));
    DestroyWindow(dialog);
}
